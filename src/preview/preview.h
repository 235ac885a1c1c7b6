#pragma once
// The control panel's little preview: fixed settings, a render thread that
// prepares the scene and asks for a repaint every 40 ms, one frame per paint.

#include <atomic>

#include "app/host.h"
#include "geometry/geometry_store.h"
#include "scene/scene_state.h"

namespace qv {

inline constexpr const char* kPreviewCaption = "ZiZoved";
inline constexpr int kPreviewIntervalMs = 40;
// Size of the pop-up shown when no valid host window was given.
inline constexpr int kPreviewPopupWidth = 320;
inline constexpr int kPreviewPopupHeight = 240;

class PreviewScene {
 public:
  PreviewScene(SceneState& scene, GeometryStore& store);

  // Render-thread set-up (seed, size, fixed settings, geometry, slots). Paints
  // draw nothing until it has finished.
  void Prepare(int width, int height);
  bool ready() const { return ready_.load(std::memory_order_acquire); }

  // One paint: graphics made and released within the frame.
  void DrawPreviewFrame(WindowHost& host);
  // Key press in the pop-up: stop once the password check allows it.
  void KeyDown(WindowHost& host);

  std::atomic<bool> PreviewStop{false};
  int PreviewWidth = 0;
  int PreviewHeight = 0;

 private:
  void SetupPreviewProjection(GlSink& sink);

  SceneState& scene_;
  GeometryStore& store_;
  std::atomic<bool> ready_{false};
};

}  // namespace qv
