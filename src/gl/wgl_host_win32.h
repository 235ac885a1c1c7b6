#pragma once
// The WGL side of every Windows window: pixel format, rendering context, the
// caption font as bitmap display lists, and the rest of WindowHost that the
// three shells share.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <memory>
#include <string>

#include "app/host.h"
#include "gl/opengl_sink.h"
#include "scene/scene_state.h"

namespace qv {

// Double-buffered RGBA with a 32-bit depth buffer and the screen's colour
// depth (stored in `screen_colour_bits`). Shows "ChoosePixelFormat failed" or
// "SetPixelFormat failed" (caption "Error") and returns false when the format
// cannot be had.
bool SetupPixelFormat(HDC dc, int& screen_colour_bits);

// Caption glyphs from a bold "Courier New" through wglUseFontBitmapsA.
class WglCaptionGlyphs final : public CaptionGlyphs {
 public:
  ~WglCaptionGlyphs() override;
  void SetDc(HDC dc) { dc_ = dc; }
  bool Build(unsigned base, int first, int count, int height) override;

 private:
  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
};

class WglWindowHost : public WindowHost {
 public:
  explicit WglWindowHost(SceneState& scene) : scene_(scene) {}
  ~WglWindowHost() override;
  WglWindowHost(const WglWindowHost&) = delete;
  WglWindowHost& operator=(const WglWindowHost&) = delete;

  void Attach(HWND window) { window_ = window; }
  // The child that OpenGL draws on, when it is not the window itself.
  void AttachDrawable(HWND drawable) { drawable_ = drawable; }
  HWND window() const { return window_; }
  HWND drawable() const { return Drawable(); }
  bool has_context() const { return rc_ != nullptr; }

  bool CreateGraphics() override;
  void ReleaseGraphics() override;
  GlSink& Sink() override { return sink_; }
  CaptionGlyphs& Glyphs() override { return glyphs_; }
  void SwapBuffers() override;

  int ScreenWidth() override;
  int ScreenHeight() override;
  int ClientWidth() override;
  int ClientHeight() override;
  void SetBounds(int left, int top, int width, int height) override;

  void ShowErrorBox(const std::string& text) override;
  void RequestClose() override;
  void Terminate() override;

  bool IsActive() override;
  CursorPoint CursorPos() override;
  void ShowCursor(bool show) override;
  void SetScreenSaverRunning(bool running) override;
  bool VerifyPassword() override;

  std::unique_ptr<SettingsStore> OpenSettingsStore() override;
  void OpenWebPage(const char* address) override;

 protected:
  // Runs with the frame's context still current, right before the swap.
  virtual void BeforeSwap() {}

 private:
  SceneState& scene_;
  HWND Drawable() const { return drawable_ != nullptr ? drawable_ : window_; }

  HWND window_ = nullptr;
  HWND drawable_ = nullptr;
  HDC dc_ = nullptr;
  HGLRC rc_ = nullptr;
  OpenGlSink sink_;
  WglCaptionGlyphs glyphs_;
};

}  // namespace qv
