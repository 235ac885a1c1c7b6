#pragma once
// One frame of the turning arrangement: the same steps for all three
// front-ends, with their few differences named in a FrameConfig.

#include "geometry/geometry_store.h"
#include "render/gl_sink.h"
#include "scene/scene_state.h"

namespace qv {

inline constexpr double kFadeStep = 0.025;
inline constexpr int kSlotFadeOutAge[3] = {300, 305, 310};
inline constexpr const char* kCaptionLine1 = "Screensavers & Wallpaper";
inline constexpr const char* kCaptionLine2 = "www.quorvelian.example";

// Light 0 turns back at or beyond these limits.
struct LightBox {
  float low[3];
  float high[3];
};

struct FrameConfig {
  bool drift_light;         // move light 0 inside `light_box`
  LightBox light_box;
  bool live_settings;       // apply RequestedBright, RequestedMeshDetail, RequestedFrame
  bool fill_polygons;       // polygon mode fill, front and back, before the slots
  bool turn_before_draw;    // advance and turn before the clear (preview paint)
  bool caption;             // draw and fade the two caption lines
};

inline constexpr FrameConfig kFullScreenFrame{true, {{1, 1, 1}, {5, 7, 5}}, false, false, false, true};
inline constexpr FrameConfig kSettingsFrame{true, {{1, 0, 1}, {3, 3, 5}}, true, true, false, false};
inline constexpr FrameConfig kPreviewFrame{false, {{0, 0, 0}, {0, 0, 0}}, false, false, true, false};

// Moves light 0 by its drift (new drifts where one is exactly 0, bounces at
// the box) and hands the new position to the sink.
void StepLightDrift(SceneState& scene, const LightBox& box, GlSink& sink);
// Ages the slots, restarts finished ones and re-picks kinds where alpha is 0.
void AdvanceSlots(SceneState& scene);
// Fade step and drawing of slot 1, 2 or 3.
void Flo_1(SceneState& scene, const GeometryStore& store, GlSink& sink);
void Flo_2(SceneState& scene, const GeometryStore& store, GlSink& sink);
void Flo_3(SceneState& scene, const GeometryStore& store, GlSink& sink);
// Kinds outside 0..11 draw nothing.
void DrawSlotKind(int kind, const SceneState& scene, const GeometryStore& store, GlSink& sink);
void DrawSlotsInOrder(SceneState& scene, const GeometryStore& store, GlSink& sink);
void StepTurn(SceneState& scene);
void StepBanner(SceneState& scene);
// The settings window's pending brightness, mesh detail and colour.
void ApplyLiveSettings(SceneState& scene, GeometryStore& store, GlSink& sink);
void DrawCaption(const SceneState& scene, GlSink& sink);

// Everything of one frame but the buffer swap, which belongs to the window.
void DrawFrame(SceneState& scene, GeometryStore& store, GlSink& sink, const FrameConfig& config);

}  // namespace qv
