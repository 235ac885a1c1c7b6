#include "store/settings.h"

#include <cmath>

namespace qv {

std::string FailedToGet(const std::string& name) { return "Failed to get data for '" + name + "'"; }
std::string InvalidType(const std::string& name) { return "Invalid data type for '" + name + "'"; }
std::string FailedToSet(const std::string& name) { return "Failed to set data for '" + name + "'"; }

int RoundHalfEven(double value) {
  double r = std::round(value);  // halves away from zero
  if (std::fabs(value - std::trunc(value)) == 0.5) r = 2.0 * std::round(value / 2.0);
  return static_cast<int>(r);
}

namespace {
int* Field(SceneState& s, std::size_t i) {
  int* fields[] = {&s.Fast, &s.Bright, &s.Satiation, &s.Size, &s.Snow, &s.Frame, &s.Clock};
  return fields[i];
}

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

void WriteAll(const SceneState& scene, SettingsStore& store) {
  if (!store.OpenOrCreateKey(kSettingsKeyPath)) return;
  OpenKeyGuard guard(store);
  const SettingValues values = SettingsOf(scene);
  for (std::size_t i = 0; i < kSettingNames.size(); ++i) {
    store.WriteInteger(kSettingNames[i], values[i]);
  }
}
}  // namespace

SettingValues SettingsOf(const SceneState& scene) {
  return {scene.Fast, scene.Bright, scene.Satiation, scene.Size,
          scene.Snow, scene.Frame,  scene.Clock};
}

void AssignSettings(SceneState& scene, const SettingValues& values) {
  for (std::size_t i = 0; i < values.size(); ++i) *Field(scene, i) = values[i];
}

void DeriveSettings(SceneState& scene) {
  scene.RequestedBright = scene.Bright;
  scene.RequestedMeshDetail = RoundHalfEven(scene.Satiation / 2.0);
  scene.MeshDetail = scene.RequestedMeshDetail;
  scene.PrimitiveMode = RoundHalfEven(scene.Snow / 3.0);
  scene.RequestedFrame = scene.Frame;
}

void LoadSettings(SceneState& scene, SettingsStore& store, const SettingValues& defaults) {
  if (store.OpenKey(kSettingsKeyPath)) {
    OpenKeyGuard guard(store);
    for (std::size_t i = 0; i < kSettingNames.size(); ++i) {
      *Field(scene, i) = store.ReadInteger(kSettingNames[i]);
    }
  }
  // Clock is not tested: six zeros mean nothing was ever stored.
  const bool first_run = scene.Fast == 0 && scene.Bright == 0 && scene.Satiation == 0 &&
                         scene.Size == 0 && scene.Snow == 0 && scene.Frame == 0;
  if (first_run) {
    AssignSettings(scene, defaults);
    WriteAll(scene, store);
  }
  DeriveSettings(scene);
}

void SaveSettings(const SceneState& scene, SettingsStore& store) { WriteAll(scene, store); }

}  // namespace qv
