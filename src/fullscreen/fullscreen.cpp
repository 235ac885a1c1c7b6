#include "fullscreen/fullscreen.h"

#include <cstdlib>

#include "gl/scene_gl.h"
#include "scene/frame_director.h"
#include "store/settings.h"

namespace qv {

TForm1::TForm1(SceneState& scene, GeometryStore& store, const Host& host)
    : scene_(scene), store_(store), window_(host.window), gl_(host.gl), services_(host.services) {}

void TForm1::FormCreate() {
  try {
    auto settings = services_.OpenSettingsStore();
    LoadSettings(scene_, *settings, kFullScreenDefaults);
  } catch (const SettingsError& error) {
    // The window still opens at its design size and its activation still sets
    // up graphics; only the rest of the creation is abandoned.
    services_.ShowErrorBox(error.what());
    return;
  }
  scene_.BannerAlphaStep = 0.001;
  scene_.BannerAlpha = 0;
  window_.SetBounds(0, 0, window_.ScreenWidth(), window_.ScreenHeight());
  SetupGraphics();
  if (!graphics_ready_) return;
  const CursorPoint cursor = window_.CursorPos();
  scene_.StartCursorPos.x = cursor.x;
  scene_.StartCursorPos.y = cursor.y;
  RegenerateAllSpecies(store_, scene_.MeshDetail, scene_.Frame);
  InitSlots(scene_);
  window_.SetScreenSaverRunning(true);
  window_.ShowCursor(false);
}

void TForm1::SetupGraphics() {
  // Every activation builds a new context and font; the ones of the previous
  // activation are never drawn with again, so release them first.
  if (graphics_ready_) {
    DeleteFontLists(gl_.Sink(), scene_.FontListBase);
    gl_.ReleaseGraphics();
    graphics_ready_ = false;
  }
  if (!gl_.CreateGraphics()) {
    window_.RequestClose();
    return;
  }
  graphics_ready_ = true;
  SetupGraphicsState(gl_.Sink(), scene_, window_.ClientWidth(), window_.ClientHeight(),
                     gl_.Glyphs());
}

void TForm1::FormActivate() {
  if (!closed_) SetupGraphics();
}

void TForm1::FormResize() {
  if (graphics_ready_)
    FormResizeProjection(gl_.Sink(), window_.ClientWidth(), window_.ClientHeight());
}

void TForm1::TimerTimer() {
  Draw();
}

void TForm1::Draw() {
  if (!graphics_ready_ || closed_) return;
  DrawFrame(scene_, store_, gl_.Sink(), kFullScreenFrame);
  gl_.SwapBuffers();
}

void TForm1::FormKeyDown(int /*key*/) {
  if (window_.IsActive()) EndRequest();
}

void TForm1::FormMouseMove() {
  const CursorPoint p = window_.CursorPos();
  if (!window_.IsActive()) {
    scene_.StartCursorPos.x = p.x;
    scene_.StartCursorPos.y = p.y;
    return;
  }
  // Each axis by itself: up to 5 pixels in x and 5 in y are tolerated.
  if (std::abs(scene_.StartCursorPos.x - p.x) > kMouseTolerance ||
      std::abs(scene_.StartCursorPos.y - p.y) > kMouseTolerance) {
    EndRequest();
  }
}

void TForm1::EndRequest() {
  if (closed_) return;
  if (services_.VerifyPassword()) {
    window_.ShowCursor(true);
    window_.RequestClose();
    return;
  }
  // Refused: go on drawing, measuring the next movement from where the
  // mouse is now so that the same movement does not ask again at once.
  const CursorPoint p = window_.CursorPos();
  scene_.StartCursorPos.x = p.x;
  scene_.StartCursorPos.y = p.y;
}

void TForm1::FormClose() {
  if (closed_) return;
  closed_ = true;
  if (graphics_ready_) {
    DeleteFontLists(gl_.Sink(), scene_.FontListBase);
    gl_.ReleaseGraphics();
    graphics_ready_ = false;
  }
  window_.SetScreenSaverRunning(false);
  window_.Terminate();
}

}  // namespace qv
