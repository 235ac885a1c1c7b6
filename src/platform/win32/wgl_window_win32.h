#pragma once
// A saver window on Win32 with its WGL context: pixel format, rendering
// context, the caption font as bitmap display lists.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "app/driver.h"
#include "app/host.h"
#include "gl/opengl_sink.h"

namespace qv {

// Double-buffered RGBA with a 32-bit depth buffer and the screen's colour
// depth. Shows "ChoosePixelFormat failed" or "SetPixelFormat failed" (caption
// "Error") and returns false when the format cannot be had.
bool SetupPixelFormat(HDC dc);

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

// Runs right before every swap, with the frame's context current: controls
// that present the frame themselves, or look at it.
class SwapHook {
 public:
  virtual ~SwapHook() = default;
  virtual void BeforeSwap() = 0;
};

class WglWindow final : public DrivenWindow, public GlContext {
 public:
  WglWindow() = default;
  ~WglWindow() override;
  WglWindow(const WglWindow&) = delete;
  WglWindow& operator=(const WglWindow&) = delete;

  void Attach(HWND window) { window_ = window; }
  // The child that OpenGL draws on, when it is not the window itself.
  void AttachDrawable(HWND drawable) { drawable_ = drawable; }
  void SetSwapHook(SwapHook* hook) { swap_hook_ = hook; }
  // The DPI a WM_DPICHANGED announced; it holds from then on.
  void SetDpi(int dpi) { dpi_ = dpi; }
  HWND window() const { return window_; }
  HWND drawable() const { return Drawable(); }
  bool has_context() const { return rc_ != nullptr; }

  // HostWindow
  int ScreenWidth() override;
  int ScreenHeight() override;
  int ClientWidth() override;
  int ClientHeight() override;
  int OuterWidth() override;
  int OuterHeight() override;
  void SetBounds(int left, int top, int width, int height) override;
  int Dpi() override;
  bool IsActive() override;
  CursorPoint CursorPos() override;
  void ShowCursor(bool show) override;
  void SetScreenSaverRunning(bool running) override;
  // The window's own paint requests, which the system merges.
  void Invalidate() override;

  // GlContext
  bool CreateGraphics() override;
  void ReleaseGraphics() override;
  GlSink& Sink() override { return sink_; }
  CaptionGlyphs& Glyphs() override { return glyphs_; }
  void SwapBuffers() override;

 protected:
  void Wake() override;

 private:
  HWND Drawable() const { return drawable_ != nullptr ? drawable_ : window_; }

  HWND window_ = nullptr;
  HWND drawable_ = nullptr;
  SwapHook* swap_hook_ = nullptr;
  int dpi_ = 0;
  HDC dc_ = nullptr;
  HGLRC rc_ = nullptr;
  OpenGlSink sink_;
  WglCaptionGlyphs glyphs_;
};

}  // namespace qv
