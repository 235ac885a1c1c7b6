#pragma once
#include <array>

#include "scene/random.h"

namespace qv {

// The one scene of a process. Field names are the names the front-ends, the
// renderers and the settings store share; everything starts at zero.
struct SceneState {
  // Settings as loaded.
  int Fast = 0;
  int Bright = 0;
  int Satiation = 0;
  int Size = 0;
  int Snow = 0;
  int Frame = 0;
  int Clock = 0;

  // Derived values.
  int MeshDetail = 0;
  int PrimitiveMode = 0;
  int RequestedBright = 0;
  int RequestedMeshDetail = 0;
  int RequestedFrame = 0;

  // Flower slots 1, 2, 3 at indices 0, 1, 2.
  std::array<int, 3> SlotKind{};
  std::array<int, 3> SlotAge{};
  std::array<int, 3> SlotAngle{};
  std::array<double, 3> SlotAlpha{};

  // Handed to the renderers for the slot being drawn.
  double CurrentAlpha = 0;
  int CurrentSlotAngle = 0;
  double TurnAngle = 0;

  // Caption fade (full-screen window).
  double BannerAlpha = 0;
  double BannerAlphaStep = 0;

  // Lighting and material, passed to the graphics library by address.
  float LightDrift[3] = {0, 0, 0};
  float Light0Position[4] = {0, 0, 0, 0};
  float Light0Diffuse[4] = {0, 0, 0, 0};
  float Light0Specular[4] = {0, 0, 0, 0};
  float Light1Position[4] = {0, 0, 0, 0};
  float Light1Diffuse[4] = {0, 0, 0, 0};
  float Light1Specular[4] = {0, 0, 0, 0};
  float MaterialSpecular[4] = {0, 0, 0, 0};
  float MaterialDiffuse[4] = {0, 0, 0, 0};
  float MaterialShininess = 0;

  // Window and input values.
  int ScreenColorBits = 0;
  unsigned FontListBase = 0;
  struct {
    int x = 0;
    int y = 0;
  } StartCursorPos;

  RandomGenerator Random;
};

// Places the slots, seeds the generator from the clock and draws kinds and
// start ages. The seeded overload exists for reproducible runs.
void InitSlots(SceneState& scene);
void InitSlots(SceneState& scene, unsigned long long seed);

}  // namespace qv
