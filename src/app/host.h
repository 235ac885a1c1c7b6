#pragma once
// What a front-end asks of the platform that shows it, split by concern: the
// window and its input, the GL context drawn into it, and the services a
// window uses (message boxes, password, settings store, web page). Each
// platform implements them once; the front-ends in fullscreen/, settings/
// and preview/ are written once against them.

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

class HostWindow {
 public:
  virtual ~HostWindow() = default;

  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  virtual int ClientWidth() = 0;
  virtual int ClientHeight() = 0;
  // The window's frame as the window manager draws it.
  virtual int OuterWidth() = 0;
  virtual int OuterHeight() = 0;
  // Outer bounds of the window in screen pixels.
  virtual void SetBounds(int left, int top, int width, int height) = 0;
  // Pixels per inch of the monitor the window is on; design sizes are for 96.
  virtual int Dpi() { return 96; }

  virtual bool IsActive() = 0;
  virtual CursorPoint CursorPos() = 0;
  virtual void ShowCursor(bool show) = 0;
  virtual void SetScreenSaverRunning(bool running) = 0;

  // The next three may be called from any thread. The platform runs the
  // front-end's close steps (FormClose) once the current handler has
  // returned, then ends its loop.
  virtual void RequestClose() = 0;
  // Ends the loop once the current handler has returned, without close steps.
  virtual void Terminate() = 0;
  // Asks for one paint (FormPaint); requests not yet served are merged.
  virtual void Invalidate() = 0;
};

class GlContext {
 public:
  virtual ~GlContext() = default;
  // Device context, pixel format (double-buffered RGBA, 32-bit depth, the
  // screen's colour bits) and a new rendering context made current. On
  // failure the platform has already shown its message ("ChoosePixelFormat
  // failed" / "SetPixelFormat failed" or its own equivalent) in a box
  // captioned "Error", and returns false.
  virtual bool CreateGraphics() = 0;
  // Makes no context current, deletes the rendering context, releases the
  // device context; nothing when there is none.
  virtual void ReleaseGraphics() = 0;
  virtual GlSink& Sink() = 0;
  virtual CaptionGlyphs& Glyphs() = 0;
  virtual void SwapBuffers() = 0;
};

class Services {
 public:
  virtual ~Services() = default;
  // Error box captioned with the application title, error icon, OK; returns
  // when it has been closed.
  virtual void ShowErrorBox(const std::string& text) = 0;
  // true: the saver may end (the platform password service).
  virtual bool VerifyPassword() = 0;
  // A fresh store object for one load or save.
  virtual std::unique_ptr<SettingsStore> OpenSettingsStore() = 0;
  virtual void OpenWebPage(const char* address) = 0;
};

// The three together, as a front-end receives them.
struct Host {
  HostWindow& window;
  GlContext& gl;
  Services& services;
};

}  // namespace qv
