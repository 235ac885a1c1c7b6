#include "store/settings.h"

#include <cmath>

namespace qv {

std::string FailedToGet(const std::string& name) {
  return "Failed to get data for '" + name + "'";
}
std::string InvalidType(const std::string& name) {
  return "Invalid data type for '" + name + "'";
}
std::string FailedToSet(const std::string& name) {
  return "Failed to set data for '" + name + "'";
}

int RoundHalfEven(double value) {
  double r = std::round(value);  // halves away from zero
  if (std::fabs(value - std::trunc(value)) == 0.5) r = 2.0 * std::round(value / 2.0);
  return static_cast<int>(r);
}

int Derive(Derivation rule, int value) {
  switch (rule) {
    case Derivation::kHalf:
      return RoundHalfEven(value / 2.0);
    case Derivation::kThird:
      return RoundHalfEven(value / 3.0);
    case Derivation::kAsIs:
      break;
  }
  return value;
}

namespace {

// Closes the key on every way out.
class OpenKeyGuard {
 public:
  explicit OpenKeyGuard(SettingsStore& store) : store_(store) {}
  ~OpenKeyGuard() { store_.CloseKey(); }
  OpenKeyGuard(const OpenKeyGuard&) = delete;
  OpenKeyGuard& operator=(const OpenKeyGuard&) = delete;

 private:
  SettingsStore& store_;
};

// false: the key could not be opened or created, nothing was tried.
bool WriteAll(const SceneState& scene, SettingsStore& store) {
  if (!store.OpenOrCreateKey(kSettingsKeyPath)) return false;
  OpenKeyGuard guard(store);
  for (const SettingSpec& s : kSettings) store.WriteInteger(s.name, scene.*s.member);
  store.Commit();
  return true;
}
}  // namespace

SettingValues SettingsOf(const SceneState& scene) {
  SettingValues values{};
  for (std::size_t i = 0; i < kSettingCount; ++i) values[i] = scene.*kSettings[i].member;
  return values;
}

void AssignSettings(SceneState& scene, const SettingValues& values) {
  for (std::size_t i = 0; i < kSettingCount; ++i) scene.*kSettings[i].member = values[i];
}

void DeriveSettings(SceneState& scene) {
  for (const SettingSpec& s : kSettings) {
    if (s.live == nullptr) continue;
    const int value = Derive(s.rule, scene.*s.member);
    scene.*s.live = value;
    if (s.also != nullptr) scene.*s.also = value;
  }
}

void LoadSettings(SceneState& scene, SettingsStore& store, const SettingValues& defaults) {
  if (store.OpenKey(kSettingsKeyPath)) {
    OpenKeyGuard guard(store);
    for (const SettingSpec& s : kSettings) scene.*s.member = store.ReadInteger(s.name);
  }
  // Clock is not tested: six zeros mean nothing was ever stored.
  bool first_run = true;
  for (const SettingSpec& s : kSettings) {
    if (s.has_slider() && scene.*s.member != 0) first_run = false;
  }
  if (first_run) {
    AssignSettings(scene, defaults);
    WriteAll(scene, store);
  }
  DeriveSettings(scene);
}

void SaveSettings(const SceneState& scene, SettingsStore& store) {
  // A save that silently stores nothing would be reported as done.
  if (!WriteAll(scene, store)) throw SettingsError(FailedToSet(kSettings[0].name));
}

}  // namespace qv
