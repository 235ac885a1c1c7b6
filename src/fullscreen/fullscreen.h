#pragma once
// TForm1: the saver proper, full screen until a key or a mouse movement.

#include "app/front_end.h"
#include "app/host.h"
#include "geometry/geometry_store.h"
#include "scene/scene_state.h"

namespace qv {

inline constexpr const char* kFullScreenCaption = "Quorvelian ScreenSaver";
inline constexpr int kMouseTolerance = 5;
// Created at its design place and size; FormCreate makes it cover the screen.
inline constexpr WindowSpec kFullScreenWindow{
    kFullScreenCaption, WindowKind::kFullScreen, 229, 147, 640, 480, kFrameIntervalMs};

class TForm1 final : public FrontEnd {
 public:
  TForm1(SceneState& scene, GeometryStore& store, const Host& host);

  const WindowSpec& Spec() const override { return kFullScreenWindow; }
  void FormCreate() override;
  void FormActivate() override;
  void FormResize() override;
  void TimerTimer() override;
  // Any key, whatever its code.
  void FormKeyDown(int key) override;
  void FormMouseMove() override;
  // The close steps; also for a close the system asks for (no password).
  void FormClose() override;
  // The timer draws every frame; a paint request adds nothing.
  void FormPaint() override {}

  void Draw();

 private:
  void SetupGraphics();
  void EndRequest();

  SceneState& scene_;
  GeometryStore& store_;
  HostWindow& window_;
  GlContext& gl_;
  Services& services_;
  bool graphics_ready_ = false;
  bool closed_ = false;
};

}  // namespace qv
