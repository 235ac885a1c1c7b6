#pragma once
// The control panel's little preview: fixed settings, a render thread that
// prepares the scene and asks for a repaint every 40 ms, one frame per paint.

#include <atomic>
#include <thread>

#include "app/front_end.h"
#include "app/host.h"
#include "geometry/geometry_store.h"
#include "scene/scene_state.h"

namespace qv {

inline constexpr const char* kPreviewCaption = "ZiZoved";
inline constexpr int kPreviewIntervalMs = 40;
// Inside a host's window the preview takes the host window's size; this is
// the pop-up shown when no valid host window was given.
inline constexpr WindowSpec kPreviewWindow{
    kPreviewCaption, WindowKind::kPreview, 0, 0, 320, 240, 0};

class PreviewScene final : public FrontEnd {
 public:
  PreviewScene(SceneState& scene, GeometryStore& store, const Host& host);
  ~PreviewScene() override;
  PreviewScene(const PreviewScene&) = delete;
  PreviewScene& operator=(const PreviewScene&) = delete;

  const WindowSpec& Spec() const override { return kPreviewWindow; }
  // Starts PreviewRenderThread for the window's outer size.
  void FormCreate() override;
  void FormActivate() override {}
  void FormResize() override {}
  void TimerTimer() override {}
  // Only the pop-up receives keys: stop once the password check allows it.
  void FormKeyDown(int key) override;
  // Mouse movement and clicks never end the preview.
  void FormMouseMove() override {}
  // Stops the render thread and waits for it.
  void FormClose() override;
  void FormPaint() override { DrawPreviewFrame(); }

  // Render-thread set-up (seed, size, fixed settings, geometry, slots). Paints
  // draw nothing until it has finished.
  void Prepare(int width, int height);
  bool ready() const { return ready_.load(std::memory_order_acquire); }
  // One paint: graphics made and released within the frame.
  void DrawPreviewFrame();

  std::atomic<bool> PreviewStop{false};
  int PreviewWidth = 0;
  int PreviewHeight = 0;

 private:
  void PreviewRenderThread(int width, int height);
  void SetupPreviewProjection(GlSink& sink);
  void StopRenderThread();

  SceneState& scene_;
  GeometryStore& store_;
  HostWindow& window_;
  GlContext& gl_;
  Services& services_;
  std::atomic<bool> ready_{false};
  std::thread thread_;
};

}  // namespace qv
