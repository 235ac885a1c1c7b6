#include "platform/sdl/glx_window.h"

#include <cstdio>

#include "platform/sdl/desktop_services.h"
#include "platform/sdl/stop_signals.h"

namespace qv {

namespace {

// Xlib's error handler is one per process; it only records, so that a
// window destroyed between two calls shows up as a failed call we can test
// for instead of ending the process.
unsigned long g_x_errors = 0;
XID g_failed_resource = 0;

int RecordXError(Display*, XErrorEvent* error) {
  ++g_x_errors;
  g_failed_resource = error->resourceid;
  return 0;
}

std::string Hex(unsigned long id) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", id);
  return text;
}

}  // namespace

XConnection::XConnection() {
  display_ = XOpenDisplay(nullptr);
  if (display_ != nullptr) XSetErrorHandler(RecordXError);
}

XConnection::~XConnection() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

bool XConnection::WindowAttributes(Window window, XWindowAttributes* attributes) {
  if (display_ == nullptr || window == 0) return false;
  XSync(display_, False);
  const unsigned long before = g_x_errors;
  const Status ok = XGetWindowAttributes(display_, window, attributes);
  XSync(display_, False);
  return ok != 0 && g_x_errors == before;
}

GlxWindow::~GlxWindow() {
  ReleaseGraphics();
  FreeFrameBuffer();
  if (owned_ && !gone_ && window_ != 0) {
    XDestroyWindow(x_.display(), window_);
    XSync(x_.display(), False);
  }
}

void GlxWindow::GraphicsFailed(const std::string& text) {
  graphics_failed_ = true;
  ShowGraphicsError(text);
}

bool GlxWindow::ChooseVisual(int screen, int depth, std::string* error) {
  double_buffered_ = false;
  // Single-buffered RGBA of the window's depth (a pixmap has one buffer, and
  // copies need equal depths), true colour, with the deepest depth buffer.
  XVisualInfo wanted{};
  wanted.screen = screen;
  wanted.depth = depth;
  int count = 0;
  XVisualInfo* found =
      XGetVisualInfo(x_.display(), VisualScreenMask | VisualDepthMask, &wanted, &count);
  int best = -1, best_z = 0;
  for (int i = 0; i < count; ++i) {
    int use_gl = 0, rgba = 0, doublebuffer = 1, z = 0;
    glXGetConfig(x_.display(), &found[i], GLX_USE_GL, &use_gl);
    glXGetConfig(x_.display(), &found[i], GLX_RGBA, &rgba);
    glXGetConfig(x_.display(), &found[i], GLX_DOUBLEBUFFER, &doublebuffer);
    glXGetConfig(x_.display(), &found[i], GLX_DEPTH_SIZE, &z);
    if (!use_gl || !rgba || doublebuffer || found[i].c_class != TrueColor) continue;
    if (z > best_z && z <= 32) {
      best = i;
      best_z = z;
    }
  }
  if (best >= 0) visual_ = found[best];
  if (found != nullptr) XFree(found);
  if (best < 0) {
    *error =
        "No RGBA OpenGL visual with a depth buffer for a window of depth " + std::to_string(depth);
    return false;
  }
  return true;
}

bool GlxWindow::UseWindowVisual(const XWindowAttributes& attributes, std::string* error) {
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(attributes.visual);
  int count = 0;
  XVisualInfo* found = XGetVisualInfo(x_.display(), VisualIDMask, &wanted, &count);
  if (found == nullptr || count == 0) {
    *error = "no visual information for window " + Hex(window_);
    return false;
  }
  visual_ = found[0];
  XFree(found);
  int use_gl = 0, rgba = 0, doublebuffer = 0;
  glXGetConfig(x_.display(), &visual_, GLX_USE_GL, &use_gl);
  glXGetConfig(x_.display(), &visual_, GLX_RGBA, &rgba);
  glXGetConfig(x_.display(), &visual_, GLX_DOUBLEBUFFER, &doublebuffer);
  if (!use_gl || !rgba) {
    *error = "the visual of window " + Hex(window_) + " cannot do RGBA OpenGL";
    return false;
  }
  // A single-buffered visual still draws; frames are flushed instead of swapped.
  double_buffered_ = doublebuffer != 0;
  return true;
}

bool GlxWindow::Attach(Window window, std::string* error) {
  XWindowAttributes a{};
  window_ = window;
  if (!x_.WindowAttributes(window, &a)) {
    *error = "window " + Hex(window) + " does not exist";
    window_ = 0;
    return false;
  }
  // XScreenSaver ends its modules with a signal before it does anything
  // to their window, so the frames go straight into it, at the cost of one
  // copy less than through a pixmap of ours.
  if (!UseWindowVisual(a, error)) {
    window_ = 0;
    return false;
  }
  width_ = a.width;
  height_ = a.height;
  // Only structure events (its size, its end): the owner keeps the input.
  XSelectInput(x_.display(), window_, StructureNotifyMask);
  // Gone between the question above and the selection: no destroy notice
  // will come, so ask once more now that one would.
  if (!x_.WindowAttributes(window, &a)) {
    *error = "window " + Hex(window) + " does not exist";
    window_ = 0;
    return false;
  }
  return true;
}

bool GlxWindow::CreateChild(Window parent, const char* title, std::string* error) {
  XWindowAttributes pa{};
  if (!x_.WindowAttributes(parent, &pa)) {
    *error = "window " + Hex(parent) + " does not exist";
    return false;
  }
  Display* d = x_.display();
  const int screen = XScreenNumberOfScreen(pa.screen);
  if (!ChooseVisual(screen, DefaultDepth(d, screen), error)) return false;
  // A preview area's usual end is its destruction, at any moment, also in
  // the middle of a frame: the frames are drawn into a pixmap of ours.
  through_pixmap_ = true;
  XSetWindowAttributes swa{};
  swa.colormap = XCreateColormap(d, RootWindow(d, screen), visual_.visual, AllocNone);
  swa.border_pixel = 0;
  swa.background_pixmap = None;
  // Our child goes with the host's window: its destroy notice is the end.
  swa.event_mask = StructureNotifyMask;
  const unsigned long before = g_x_errors;
  width_ = pa.width > 0 ? pa.width : 1;
  height_ = pa.height > 0 ? pa.height : 1;
  window_ =
      XCreateWindow(d, parent, 0, 0, static_cast<unsigned>(width_), static_cast<unsigned>(height_),
                    0, visual_.depth, InputOutput, visual_.visual,
                    CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &swa);
  XStoreName(d, window_, title);
  XMapWindow(d, window_);
  XSync(d, False);
  if (window_ == 0 || g_x_errors != before) {
    *error = "cannot create a window inside " + Hex(parent);
    window_ = 0;
    return false;
  }
  owned_ = true;
  return true;
}

bool GlxWindow::MakeFrameBuffer() {
  if (pixmap_ != 0 && pixmap_width_ == width_ && pixmap_height_ == height_) return true;
  FreeFrameBuffer();
  Display* d = x_.display();
  // On the root window, which outlives every window it is copied into.
  pixmap_ = XCreatePixmap(d, RootWindow(d, visual_.screen), static_cast<unsigned>(width_),
                          static_cast<unsigned>(height_), static_cast<unsigned>(visual_.depth));
  glx_pixmap_ = glXCreateGLXPixmap(d, &visual_, pixmap_);
  copy_gc_ = XCreateGC(d, pixmap_, 0, nullptr);
  pixmap_width_ = width_;
  pixmap_height_ = height_;
  return glx_pixmap_ != 0;
}

void GlxWindow::FreeFrameBuffer() {
  Display* d = x_.display();
  if (glx_pixmap_ != 0) glXDestroyGLXPixmap(d, glx_pixmap_);
  if (copy_gc_ != nullptr) XFreeGC(d, copy_gc_);
  if (pixmap_ != 0) XFreePixmap(d, pixmap_);
  glx_pixmap_ = 0;
  copy_gc_ = nullptr;
  pixmap_ = 0;
}

bool GlxWindow::Pump(bool* resized) {
  Display* d = x_.display();
  while (!gone_ && XPending(d) > 0) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type == DestroyNotify && e.xdestroywindow.window == window_) {
      gone_ = true;
    } else if (e.type == ConfigureNotify && e.xconfigure.window == window_) {
      if (e.xconfigure.width != width_ || e.xconfigure.height != height_) {
        width_ = e.xconfigure.width;
        height_ = e.xconfigure.height;
        *resized = true;
      }
    }
  }
  if (*resized && context_ != nullptr && through_pixmap_) {
    // The context lives on; only its drawable follows the window's size.
    const Pixmap old_pixmap = pixmap_;
    const GLXPixmap old_glx_pixmap = glx_pixmap_;
    GC old_gc = copy_gc_;
    pixmap_ = 0;
    glx_pixmap_ = 0;
    copy_gc_ = nullptr;
    if (MakeFrameBuffer()) glXMakeCurrent(d, glx_pixmap_, context_);
    glXDestroyGLXPixmap(d, old_glx_pixmap);
    XFreeGC(d, old_gc);
    XFreePixmap(d, old_pixmap);
  }
  // A request on the window failed: it went before its notice arrived.
  if (g_failed_resource == window_ && window_ != 0) gone_ = true;
  return !gone_;
}

bool GlxWindow::CreateGraphics() {
  ReleaseGraphics();
  sink_.SetStringDrawer(&glyphs_);
  if (gone_ || window_ == 0) return false;
  if (through_pixmap_ && !MakeFrameBuffer()) {
    GraphicsFailed("Cannot draw OpenGL into a pixmap for window " + Hex(window_) +
                   " (glXCreateGLXPixmap failed)");
    return false;
  }
  context_ = glXCreateContext(x_.display(), &visual_, nullptr, True);
  if (context_ == nullptr) {
    GraphicsFailed("Cannot create an OpenGL context for window " + Hex(window_) +
                   " (glXCreateContext failed)");
    return false;
  }
  const GLXDrawable drawable = through_pixmap_ ? glx_pixmap_ : window_;
  // No round trip to confirm: a window that went meanwhile fails a later
  // request, and its notice or that error ends the front-end.
  if (glXMakeCurrent(x_.display(), drawable, context_) == False) {
    glXDestroyContext(x_.display(), context_);
    context_ = nullptr;
    // The owner may destroy its window at any moment, also between our check
    // and this call; that is the usual way to end, not a graphics failure.
    bool resized = false;
    XWindowAttributes a{};
    if (!Pump(&resized) || !x_.WindowAttributes(window_, &a)) {
      gone_ = true;
      return false;
    }
    GraphicsFailed("Cannot make the OpenGL context current on window " + Hex(window_) +
                   " (glXMakeCurrent failed)");
    return false;
  }
  return true;
}

void GlxWindow::ReleaseGraphics() {
  glyphs_.ContextReleased();
  if (context_ == nullptr) return;
  if (gone_ && !through_pixmap_) {
    // Drivers may look at a drawable they are let go of, and this one has
    // gone: the context is left to the end of the process, which is near.
    context_ = nullptr;
    return;
  }
  glXMakeCurrent(x_.display(), None, nullptr);
  glXDestroyContext(x_.display(), context_);
  context_ = nullptr;
}

void GlxWindow::SwapBuffers() {
  if (context_ == nullptr || gone_) return;
  if (!through_pixmap_) {
    if (double_buffered_) {
      glXSwapBuffers(x_.display(), window_);
    } else {
      glFlush();
    }
    return;
  }
  glFinish();
  // A window gone meanwhile fails this copy with an error we record.
  XCopyArea(x_.display(), pixmap_, window_, copy_gc_, 0, 0, static_cast<unsigned>(pixmap_width_),
            static_cast<unsigned>(pixmap_height_), 0, 0);
  XFlush(x_.display());
}

CursorPoint GlxWindow::CursorPos() {
  CursorPoint p;
  Window root = 0, child = 0;
  int wx = 0, wy = 0;
  unsigned mask = 0;
  XQueryPointer(x_.display(), DefaultRootWindow(x_.display()), &root, &child, &p.x, &p.y, &wx, &wy,
                &mask);
  return p;
}

void GlxWindow::Wake() {
  WakeLoop();
}

}  // namespace qv
