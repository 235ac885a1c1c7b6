#pragma once
// A window that someone else owns, drawn with GLX: the window XScreenSaver
// hands to its modules, or the child we make inside a preview area. Its
// destruction is learned from the X events of that window (or from the
// error of the next request that uses it), so a window vanishing under us
// ends the front-end normally instead of killing the process. The owner can
// destroy it at any moment, also in the middle of a frame, and OpenGL
// drivers do not all survive a drawable that vanishes while they draw: in a
// preview area, whose destruction is its usual end, the frames are drawn
// into a pixmap of ours and copied into the window, which a vanished window
// only turns into an X error.

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <string>

#include "app/driver.h"
#include "app/host.h"
#include "gl/freetype_glyphs_posix.h"
#include "gl/opengl_sink.h"

namespace qv {

// The X connection of a front-end in a foreign window. Its errors are
// recorded, never fatal.
class XConnection {
 public:
  XConnection();
  ~XConnection();
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  Display* display() const { return display_; }
  // Geometry of `window`, asked of the server; false when it is not (or no
  // longer) a window. A round trip: for start-up, not for every frame.
  bool WindowAttributes(Window window, XWindowAttributes* attributes);

 private:
  Display* display_ = nullptr;
};

class GlxWindow final : public DrivenWindow, public GlContext {
 public:
  explicit GlxWindow(XConnection& x) : x_(x) {}
  ~GlxWindow() override;
  GlxWindow(const GlxWindow&) = delete;
  GlxWindow& operator=(const GlxWindow&) = delete;

  // Draws into `window` as it is (its visual, its size). false with `error`
  // set when it is not a window or its visual cannot do OpenGL.
  bool Attach(Window window, std::string* error);
  // Makes a child of `parent` covering it, with a GL visual of our own.
  bool CreateChild(Window parent, const char* title, std::string* error);

  // Handles the X events that have arrived. Returns false once the window
  // is gone; `resized` is set when its size changed.
  bool Pump(bool* resized);
  Window window() const { return window_; }
  Display* display() const { return x_.display(); }
  bool graphics_failed() const { return graphics_failed_; }

  // HostWindow. The window is the module's whole screen; it keeps its place
  // and size, and no input of its own reaches it.
  int ScreenWidth() override { return width_; }
  int ScreenHeight() override { return height_; }
  int ClientWidth() override { return width_; }
  int ClientHeight() override { return height_; }
  int OuterWidth() override { return width_; }
  int OuterHeight() override { return height_; }
  void SetBounds(int, int, int, int) override {}
  bool IsActive() override { return true; }
  CursorPoint CursorPos() override;
  void ShowCursor(bool) override {}
  void SetScreenSaverRunning(bool) override {}

  // GlContext
  bool CreateGraphics() override;
  void ReleaseGraphics() override;
  GlSink& Sink() override { return sink_; }
  CaptionGlyphs& Glyphs() override { return glyphs_; }
  void SwapBuffers() override;

 protected:
  void Wake() override;

 private:
  bool ChooseVisual(int screen, int depth, std::string* error);
  bool UseWindowVisual(const XWindowAttributes& attributes, std::string* error);
  bool MakeFrameBuffer();
  void FreeFrameBuffer();
  void GraphicsFailed(const std::string& text);

  XConnection& x_;
  Window window_ = 0;
  bool owned_ = false;
  bool gone_ = false;
  bool graphics_failed_ = false;
  bool through_pixmap_ = false;
  bool double_buffered_ = false;
  // The frames' own drawable, the window's size.
  Pixmap pixmap_ = 0;
  GLXPixmap glx_pixmap_ = 0;
  GC copy_gc_ = nullptr;
  int pixmap_width_ = 0;
  int pixmap_height_ = 0;
  XVisualInfo visual_{};
  GLXContext context_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  OpenGlSink sink_;
  FreeTypeCaptionGlyphs glyphs_;
};

}  // namespace qv
