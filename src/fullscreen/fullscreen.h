#pragma once
// TForm1: the saver proper, full screen until a key or a mouse movement.

#include "app/host.h"
#include "geometry/geometry_store.h"
#include "scene/scene_state.h"

namespace qv {

inline constexpr const char* kFullScreenCaption = "Quorvelian ScreenSaver";
inline constexpr int kFrameIntervalMs = 31;
inline constexpr int kMouseTolerance = 5;

class TForm1 {
 public:
  TForm1(SceneState& scene, GeometryStore& store, WindowHost& host);

  // Handlers the shell calls, named after their events.
  void FormCreate();
  void FormActivate();
  void FormResize();
  void TimerTimer();
  void FormKeyDown();
  void FormMouseMove();
  // The close steps; also for a close the system asks for (no password).
  void FormClose();

  void Draw();
  bool graphics_ready() const { return graphics_ready_; }

 private:
  void SetupGraphics();
  void EndRequest();

  SceneState& scene_;
  GeometryStore& store_;
  WindowHost& host_;
  bool graphics_ready_ = false;
  bool closed_ = false;
};

}  // namespace qv
