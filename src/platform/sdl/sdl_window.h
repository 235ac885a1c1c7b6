#pragma once
// A window of our own made with SDL2, with its GL context: the full-screen
// saver, the settings window and the preview's pop-up.

#include <SDL.h>

#include <atomic>
#include <string>

#include "app/driver.h"
#include "app/front_end.h"
#include "app/host.h"
#include "gl/freetype_glyphs_posix.h"
#include "gl/opengl_sink.h"
#include "platform/sdl/sdl_controls.h"

namespace qv {

class SdlWindow final : public DrivenWindow, public GlContext {
 public:
  SdlWindow() = default;
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  // Creates the window hidden, placed and styled as `design` gives it, with
  // a double-buffered RGBA visual and the deepest depth buffer on offer.
  // false (box shown) when there is none.
  bool Open(const WindowSpec& design);
  void SetControls(SdlControls* controls) { controls_ = controls; }
  SdlControls* controls() const { return controls_; }
  void Show();
  SDL_Window* window() const { return window_; }
  Uint32 window_id() const { return SDL_GetWindowID(window_); }
  unsigned long x_window() const;
  bool has_context() const { return context_ != nullptr; }
  bool graphics_failed() const { return graphics_failed_; }
  // The event type of the paint and wake-up requests.
  Uint32 request_event() const { return request_event_; }

  // HostWindow
  int ScreenWidth() override;
  int ScreenHeight() override;
  int ClientWidth() override;
  int ClientHeight() override;
  int OuterWidth() override;
  int OuterHeight() override;
  void SetBounds(int left, int top, int width, int height) override;
  bool IsActive() override;
  CursorPoint CursorPos() override;
  void ShowCursor(bool show) override;
  void SetScreenSaverRunning(bool running) override;

  // GlContext
  bool CreateGraphics() override;
  void ReleaseGraphics() override;
  GlSink& Sink() override { return sink_; }
  CaptionGlyphs& Glyphs() override { return glyphs_; }
  void SwapBuffers() override;

 private:
  void Wake() override;
  void GraphicsFailed(const std::string& text);

  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  WindowKind kind_ = WindowKind::kDialog;
  SdlControls* controls_ = nullptr;
  Uint32 request_event_ = static_cast<Uint32>(-1);
  bool graphics_failed_ = false;
  OpenGlSink sink_;
  FreeTypeCaptionGlyphs glyphs_;
};

}  // namespace qv
