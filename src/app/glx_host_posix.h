#pragma once
// A host over an X window that someone else owns: the window XScreenSaver
// hands to its modules, or the child we make inside a preview area. Drawn
// with GLX directly, so that a window vanishing under us is an X error we
// trap, not one that kills the process.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <GL/glx.h>

#include <string>

#include "app/desktop_host_sdl.h"

namespace qv {

// The X connection of a shell, with an error handler that records errors
// instead of ending the process.
class XConnection {
 public:
  XConnection();
  ~XConnection();
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  Display* display() const { return display_; }
  // Geometry of `window`; false when it is not (or no longer) a window.
  bool WindowAttributes(Window window, XWindowAttributes* attributes);

 private:
  Display* display_ = nullptr;
};

class GlxWindowHost final : public DesktopHost {
 public:
  explicit GlxWindowHost(XConnection& x) : x_(x) {}
  ~GlxWindowHost() override;

  // Draws into `window` as it is (its visual, its size). false with `error`
  // set when it is not a window or its visual cannot do OpenGL.
  bool Attach(Window window, std::string* error);
  // Makes a child of `parent` covering it, with a GL visual of our own.
  bool CreateChild(Window parent, const char* title, std::string* error);

  // Handles pending X events; returns false once the window is gone.
  // `resized` is set when its size changed.
  bool Pump(bool* resized);
  Window window() const { return window_; }

  bool CreateGraphics() override;
  void ReleaseGraphics() override;
  void SwapBuffers() override;
  // The window is the module's whole screen.
  int ScreenWidth() override { return width_; }
  int ScreenHeight() override { return height_; }
  int ClientWidth() override { return width_; }
  int ClientHeight() override { return height_; }
  // Someone else's window keeps its place and size.
  void SetBounds(int, int, int, int) override {}
  // No input of its own reaches it.
  bool IsActive() override { return true; }
  CursorPoint CursorPos() override;
  void ShowCursor(bool) override {}
  void SetScreenSaverRunning(bool) override {}

 private:
  bool ChooseVisual(const XWindowAttributes& attributes, std::string* error);

  XConnection& x_;
  Window window_ = 0;
  bool owned_ = false;
  bool gone_ = false;
  bool double_buffered_ = true;
  XVisualInfo visual_{};
  GLXContext context_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace qv
