#include <chrono>

#include "scene/scene_state.h"

namespace qv {

std::uint64_t ClockSeed() {
  auto wall = std::chrono::system_clock::now().time_since_epoch().count();
  auto mono = std::chrono::steady_clock::now().time_since_epoch().count();
  return static_cast<std::uint64_t>(wall) ^ (static_cast<std::uint64_t>(mono) << 17);
}

void InitSlots(SceneState& scene) { InitSlots(scene, ClockSeed()); }

void InitSlots(SceneState& scene, unsigned long long seed) {
  // Slot 1 sits at 240 and slot 3 at 0: the draw orders depend on exactly this.
  scene.SlotAngle = {240, 120, 0};
  scene.Random.Seed(seed);
  for (int& kind : scene.SlotKind) kind = scene.Random(12);
  scene.SlotAge[0] = scene.Random(25);
  scene.SlotAge[1] = scene.Random(25) + 75;
  scene.SlotAge[2] = scene.Random(25) + 150;
  scene.TurnAngle = 360;
}

}  // namespace qv
