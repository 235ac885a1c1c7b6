#pragma once
// The seven per-user settings: where they live, the first-run rule and the
// values the scene derives from them. The storage itself sits behind
// SettingsStore (registry on Windows, a settings file elsewhere).

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "scene/scene_state.h"

namespace qv {

inline constexpr const char* kApplicationTitle = "Quorvelian";
inline constexpr const char* kSettingsKeyPath = "\\Software\\Quorvelian\\";

// In the order in which they are always read and written.
inline constexpr std::array<const char*, 7> kSettingNames = {"Fast", "Bright", "Satiation", "Size",
                                                             "Snow", "Frame",  "Clock"};

using SettingValues = std::array<int, 7>;
inline constexpr SettingValues kFullScreenDefaults = {5, 10, 5, 7, 0, 5, 5};
inline constexpr SettingValues kSettingsWindowDefaults = {3, 10, 5, 12, 0, 7, 7};
inline constexpr SettingValues kPreviewValues = {5, 10, 5, 12, 7, 7, 7};

// Carries exactly the text that the calling window shows.
class SettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
std::string FailedToGet(const std::string& name);    // "Failed to get data for '%s'"
std::string InvalidType(const std::string& name);    // "Invalid data type for '%s'"
std::string FailedToSet(const std::string& name);    // "Failed to set data for '%s'"

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Opens the existing key; false when it does not exist or cannot be opened.
  virtual bool OpenKey(const std::string& path) = 0;
  // Opens the key, creating it when missing; false when that fails.
  virtual bool OpenOrCreateKey(const std::string& path) = 0;
  // Throw SettingsError with the texts above.
  virtual std::int32_t ReadInteger(const std::string& name) = 0;
  virtual void WriteInteger(const std::string& name, std::int32_t value) = 0;
  virtual void CloseKey() = 0;
};

// Nearest integer, a quotient exactly halfway going to the even neighbour.
int RoundHalfEven(double value);

SettingValues SettingsOf(const SceneState& scene);
void AssignSettings(SceneState& scene, const SettingValues& values);
// RequestedBright, RequestedMeshDetail, MeshDetail, PrimitiveMode, RequestedFrame.
void DeriveSettings(SceneState& scene);

// Reads the seven values, applies the first-run rule with `defaults`, derives.
// A missing or mistyped value throws SettingsError; the values read before it
// stay, and neither the first-run rule nor the derivation runs.
void LoadSettings(SceneState& scene, SettingsStore& store, const SettingValues& defaults);
// Writes the seven values in order, creating the key; nothing when it cannot.
void SaveSettings(const SceneState& scene, SettingsStore& store);

}  // namespace qv
