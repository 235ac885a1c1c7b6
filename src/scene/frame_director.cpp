#include "scene/frame_director.h"

#include "gl/scene_gl.h"

namespace qv {

namespace {

double DriftDraw(SceneState& scene) { return scene.Random(100) / 10000.0; }

void Flo(int k, SceneState& scene, const GeometryStore& store, GlSink& sink) {
  const int limit = kSlotFadeOutAge[k];
  double& alpha = scene.SlotAlpha[k];
  // The age test makes the two branches exclusive: one draw per call.
  if (alpha <= 1 && scene.SlotAge[k] < limit) {
    alpha += kFadeStep;
    scene.CurrentAlpha = alpha;
    scene.CurrentSlotAngle = scene.SlotAngle[k];
    DrawSlotKind(scene.SlotKind[k], scene, store, sink);
    if (alpha >= 1) alpha = 1;
  }
  if (alpha >= 0 && scene.SlotAge[k] >= limit) {
    alpha -= kFadeStep;
    scene.CurrentAlpha = alpha;
    scene.CurrentSlotAngle = scene.SlotAngle[k];
    DrawSlotKind(scene.SlotKind[k], scene, store, sink);
    if (alpha <= 0) alpha = 0;
  }
}

}  // namespace

void StepLightDrift(SceneState& scene, const LightBox& box, GlSink& sink) {
  for (float& drift : scene.LightDrift) {
    if (drift == 0) {
      const double a = DriftDraw(scene);
      const double b = DriftDraw(scene);
      drift = static_cast<float>(a - b);
    }
  }
  float* position = scene.Light0Position;
  for (int axis = 0; axis < 3; ++axis) {
    if (position[axis] >= box.high[axis]) {
      scene.LightDrift[axis] = static_cast<float>(-0.01 - DriftDraw(scene));
    }
    if (position[axis] <= box.low[axis]) {
      scene.LightDrift[axis] = static_cast<float>(DriftDraw(scene) + 0.01);
    }
  }
  for (int axis = 0; axis < 3; ++axis) position[axis] += scene.LightDrift[axis];
  sink.Lightfv(gl::kLight0, gl::kPosition, scene.Light0Position);
}

void AdvanceSlots(SceneState& scene) {
  for (int& age : scene.SlotAge) ++age;
  for (int k = 0; k < 3; ++k) {
    if (scene.SlotAge[k] >= kSlotFadeOutAge[k] && scene.SlotAlpha[k] == 0) scene.SlotAge[k] = 0;
  }
  for (int k = 0; k < 3; ++k) {
    if (scene.SlotAlpha[k] == 0) scene.SlotKind[k] = scene.Random(12);
  }
}

void Flo_1(SceneState& scene, const GeometryStore& store, GlSink& sink) { Flo(0, scene, store, sink); }
void Flo_2(SceneState& scene, const GeometryStore& store, GlSink& sink) { Flo(1, scene, store, sink); }
void Flo_3(SceneState& scene, const GeometryStore& store, GlSink& sink) { Flo(2, scene, store, sink); }

void DrawSlotKind(int kind, const SceneState& scene, const GeometryStore& store, GlSink& sink) {
  if (kind < 0 || kind > 11) return;
  sink.DrawKind(kind, scene, store);
}

void DrawSlotsInOrder(SceneState& scene, const GeometryStore& store, GlSink& sink) {
  const double t = scene.TurnAngle;
  // Back to front for the slot angles 240, 120 and 0 of slots 1, 2 and 3.
  if (t >= 240 && t <= 360) {
    Flo_2(scene, store, sink);
    Flo_1(scene, store, sink);
    Flo_3(scene, store, sink);
  } else if (t >= 120 && t < 240) {
    Flo_1(scene, store, sink);
    Flo_2(scene, store, sink);
    Flo_3(scene, store, sink);
  } else if (t > 0 && t < 120) {
    Flo_3(scene, store, sink);
    Flo_1(scene, store, sink);
    Flo_2(scene, store, sink);
  }
}

void StepTurn(SceneState& scene) {
  scene.TurnAngle = scene.TurnAngle - scene.Fast / 5.0;
  if (!(scene.TurnAngle > 0)) scene.TurnAngle = 360;
}

void StepBanner(SceneState& scene) {
  scene.BannerAlpha += scene.BannerAlphaStep;
  if (scene.BannerAlpha > 1) scene.BannerAlphaStep = -0.01;
  if (scene.BannerAlpha > 0.25 && scene.BannerAlpha < 0.3) scene.BannerAlphaStep = 0.01;
}

void ApplyLiveSettings(SceneState& scene, GeometryStore& store, GlSink& sink) {
  if (scene.Bright != scene.RequestedBright) {
    scene.Bright = scene.RequestedBright;
    SetLightColours(scene, 0.4, 0.5, 0.3, 0.5);
    ApplyLightColours(sink, scene);
  }
  if (scene.RequestedMeshDetail != scene.MeshDetail) {
    scene.MeshDetail = scene.RequestedMeshDetail;
    RegenerateAllSpecies(store, scene.MeshDetail, scene.Frame);
  }
  if (scene.RequestedFrame != scene.Frame) {
    scene.Frame = scene.RequestedFrame;
    RegenerateAllSpecies(store, scene.MeshDetail, scene.Frame);
  }
}

void DrawCaption(const SceneState& scene, GlSink& sink) {
  sink.Color4f(1, 1, 1, static_cast<float>(scene.BannerAlpha));
  sink.RasterPos2f(-2.7f, 1.9f);
  PrintText(sink, scene.FontListBase, kCaptionLine1);
  sink.RasterPos2f(-2.7f, 1.7f);
  PrintText(sink, scene.FontListBase, kCaptionLine2);
}

void DrawFrame(SceneState& scene, GeometryStore& store, GlSink& sink, const FrameConfig& config) {
  if (config.turn_before_draw) {
    AdvanceSlots(scene);
    StepTurn(scene);
    sink.Clear(gl::kColorBufferBit | gl::kDepthBufferBit);
    DrawSlotsInOrder(scene, store, sink);
    return;
  }
  sink.Clear(gl::kColorBufferBit | gl::kDepthBufferBit);
  if (config.drift_light) StepLightDrift(scene, config.light_box, sink);
  if (config.live_settings) ApplyLiveSettings(scene, store, sink);
  AdvanceSlots(scene);
  if (config.fill_polygons) sink.PolygonMode(gl::kFrontAndBack, gl::kFill);
  DrawSlotsInOrder(scene, store, sink);
  StepTurn(scene);
  if (config.caption) {
    DrawCaption(scene, sink);
    StepBanner(scene);
  }
}

}  // namespace qv
