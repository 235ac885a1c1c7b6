#pragma once
// The seven per-user settings: where they live, the first-run rule and the
// values the scene derives from them. The storage itself sits behind
// SettingsStore (registry on Windows, a settings file elsewhere); the
// settings themselves are described once, in settings_table.h.

#include <cstdint>
#include <stdexcept>
#include <string>

#include "scene/scene_state.h"
#include "store/settings_table.h"

namespace qv {

inline constexpr const char* kApplicationTitle = "Quorvelian";
inline constexpr const char* kSettingsKeyPath = "\\Software\\Quorvelian\\";

// Carries exactly the text that the calling window shows.
class SettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
std::string FailedToGet(const std::string& name);  // "Failed to get data for '%s'"
std::string InvalidType(const std::string& name);  // "Invalid data type for '%s'"
std::string FailedToSet(const std::string& name);  // "Failed to set data for '%s'"

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Opens the existing key; false when it does not exist or cannot be opened.
  virtual bool OpenKey(const std::string& path) = 0;
  // Opens the key, creating it when missing; false when that fails or when
  // nothing could be written to it.
  virtual bool OpenOrCreateKey(const std::string& path) = 0;
  // Throws SettingsError with the texts above.
  virtual std::int32_t ReadInteger(const std::string& name) = 0;
  // Stages a value for the next Commit; nothing is stored before it.
  virtual void WriteInteger(const std::string& name, std::int32_t value) = 0;
  // Stores every value staged since the key was opened as one save. On
  // failure throws SettingsError(FailedToSet(first value not stored)); what
  // was stored before stays whole (a file keeps its old contents entirely).
  virtual void Commit() = 0;
  // Drops whatever was staged and not committed.
  virtual void CloseKey() = 0;
};

// Nearest integer, a quotient exactly halfway going to the even neighbour.
int RoundHalfEven(double value);
// Any int: the quotients stay far inside int.
int Derive(Derivation rule, int value);

SettingValues SettingsOf(const SceneState& scene);
void AssignSettings(SceneState& scene, const SettingValues& values);
// RequestedBright, RequestedMeshDetail, MeshDetail, PrimitiveMode, RequestedFrame.
void DeriveSettings(SceneState& scene);

// Reads the seven values, applies the first-run rule with `defaults`, derives.
// A missing or mistyped value throws SettingsError; the values read before it
// stay, and neither the first-run rule nor the derivation runs. A first-run
// write that cannot even open the store leaves the defaults for this run only.
void LoadSettings(SceneState& scene, SettingsStore& store, const SettingValues& defaults);
// Writes the seven values as one commit, creating the key. Every failure,
// including a key that cannot be opened or created, throws
// SettingsError(FailedToSet(...)) naming the first value not stored.
void SaveSettings(const SceneState& scene, SettingsStore& store);

}  // namespace qv
