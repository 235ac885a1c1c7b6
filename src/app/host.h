#pragma once
// What a front-end asks of the window system that shows it. Each shell
// (Win32 + WGL, SDL2) implements one WindowHost per window; the front-end
// logic in fullscreen/, settings/ and preview/ is written once against it.

#include <memory>
#include <string>

#include "gl/scene_gl.h"
#include "render/gl_sink.h"
#include "store/settings.h"

namespace qv {

struct CursorPoint {
  int x = 0;
  int y = 0;
};

class WindowHost {
 public:
  virtual ~WindowHost() = default;

  // Device context, pixel format (double-buffered RGBA, 32-bit depth, the
  // screen's colour bits) and a new rendering context made current. On
  // failure the host has already shown its message ("ChoosePixelFormat
  // failed" / "SetPixelFormat failed" or the platform's equivalent) in a box
  // captioned "Error", and returns false.
  virtual bool CreateGraphics() = 0;
  // Makes no context current, deletes the rendering context, releases the
  // device context; nothing when there is none.
  virtual void ReleaseGraphics() = 0;
  virtual GlSink& Sink() = 0;
  virtual CaptionGlyphs& Glyphs() = 0;
  virtual void SwapBuffers() = 0;

  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  virtual int ClientWidth() = 0;
  virtual int ClientHeight() = 0;
  // Outer bounds of the window in screen pixels.
  virtual void SetBounds(int left, int top, int width, int height) = 0;

  // Error box captioned with the application title, error icon, OK.
  virtual void ShowErrorBox(const std::string& text) = 0;
  // Asks the window to close; the shell then calls the front-end's close
  // steps (FormClose) and ends the message loop.
  virtual void RequestClose() = 0;
  // Ends the application's message loop at once.
  virtual void Terminate() = 0;

  virtual bool IsActive() = 0;
  virtual CursorPoint CursorPos() = 0;
  virtual void ShowCursor(bool show) = 0;
  virtual void SetScreenSaverRunning(bool running) = 0;
  // true: the saver may end (the platform password service).
  virtual bool VerifyPassword() = 0;

  // A fresh store object for one load or save.
  virtual std::unique_ptr<SettingsStore> OpenSettingsStore() = 0;
  virtual void OpenWebPage(const char* address) = 0;
};

}  // namespace qv
