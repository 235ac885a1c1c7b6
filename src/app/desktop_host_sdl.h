#pragma once
// The Linux window hosts. DesktopHost holds what every Linux window shares
// (settings file, password, web page, error boxes, the GL sink and caption
// glyphs); SdlWindowHost is a window of our own made with SDL2.

#include <SDL.h>

#include <functional>
#include <memory>
#include <string>

#include "app/host.h"
#include "gl/opengl_sink.h"

namespace qv {

// The box that stands for "ChoosePixelFormat failed" / "SetPixelFormat
// failed": caption "Error", also written to stderr for sessions where no one
// sees the screen.
void ShowGraphicsError(const std::string& text);

// FreeType glyphs where that library is built, otherwise lists left empty.
std::unique_ptr<CaptionGlyphs> MakeCaptionGlyphs();

class DesktopHost : public WindowHost {
 public:
  DesktopHost();

  GlSink& Sink() override { return sink_; }
  CaptionGlyphs& Glyphs() override { return *glyphs_; }
  void ShowErrorBox(const std::string& text) override;
  void RequestClose() override { close_requested_ = true; }
  void Terminate() override { terminated_ = true; }
  bool VerifyPassword() override;
  std::unique_ptr<SettingsStore> OpenSettingsStore() override;
  void OpenWebPage(const char* address) override;

  bool close_requested() const { return close_requested_; }
  bool terminated() const { return terminated_; }
  // A graphics set-up failed; the process should end non-zero.
  bool graphics_failed() const { return graphics_failed_; }

 protected:
  void GraphicsFailed(const std::string& text);
  // Owner of the error boxes, when there is a window of our own to own them.
  virtual SDL_Window* BoxOwner() { return nullptr; }

 private:
  OpenGlSink sink_;
  std::unique_ptr<CaptionGlyphs> glyphs_;
  bool close_requested_ = false;
  bool terminated_ = false;
  bool graphics_failed_ = false;
};

class SdlWindowHost final : public DesktopHost {
 public:
  ~SdlWindowHost() override;

  // Creates the window hidden, with a double-buffered RGBA visual and the
  // deepest depth buffer on offer. false (box shown) when there is none.
  bool Open(const char* title, int left, int top, int width, int height, Uint32 flags);
  SDL_Window* window() const { return window_; }
  Uint32 window_id() const { return SDL_GetWindowID(window_); }

  // Hooks for a shell that draws its own controls into the same context:
  // `before_swap` runs right before every swap, `before_release` while the
  // context that is about to go is still current.
  void SetBeforeSwap(std::function<void()> f) { before_swap_ = std::move(f); }
  void SetBeforeRelease(std::function<void()> f) { before_release_ = std::move(f); }
  bool has_context() const { return context_ != nullptr; }
  // The window's frame as the window manager draws it (0 without one).
  int OuterWidth();
  int OuterHeight();

  bool CreateGraphics() override;
  void ReleaseGraphics() override;
  void SwapBuffers() override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  int ClientWidth() override;
  int ClientHeight() override;
  void SetBounds(int left, int top, int width, int height) override;
  bool IsActive() override;
  CursorPoint CursorPos() override;
  void ShowCursor(bool show) override;
  void SetScreenSaverRunning(bool running) override;

 protected:
  // A window not shown yet (a failed creation) would only misplace the box.
  SDL_Window* BoxOwner() override {
    return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0 ? window_
                                                                                       : nullptr;
  }

 private:
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  std::function<void()> before_swap_;
  std::function<void()> before_release_;
};

}  // namespace qv
