#include "platform/sdl/sdl_window.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include "platform/sdl/desktop_services.h"

namespace qv {

SdlWindow::~SdlWindow() {
  ReleaseGraphics();
  if (window_ != nullptr) SDL_DestroyWindow(window_);
}

bool SdlWindow::Open(const WindowSpec& spec) {
  kind_ = spec.kind;
  request_event_ = SDL_RegisterEvents(1);
  const Uint32 flags = spec.kind == WindowKind::kDialog
                           ? SDL_WINDOW_RESIZABLE
                           : SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP;
  // The scene asks for a 32-bit depth buffer; take the nearest one the
  // driver offers, as a pixel-format search would.
  std::string reason;
  for (int depth : {32, 24, 16}) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
    // Fixed-function GL 1.1 needs a compatibility context.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    window_ = SDL_CreateWindow(spec.caption, spec.left, spec.top, spec.width, spec.height,
                               flags | SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window_ != nullptr) return true;
    reason = SDL_GetError();
  }
  GraphicsFailed("No double-buffered RGBA OpenGL visual with a depth buffer (" + reason + ")");
  return false;
}

void SdlWindow::Show() {
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  // A saver and its pop-up take the keyboard whether or not a window
  // manager hands focus to new windows.
  if (kind_ != WindowKind::kDialog) SDL_SetWindowInputFocus(window_);
}

unsigned long SdlWindow::x_window() const {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window_ != nullptr && SDL_GetWindowWMInfo(window_, &info) == SDL_TRUE &&
      info.subsystem == SDL_SYSWM_X11) {
    return info.info.x11.window;
  }
  return 0;
}

void SdlWindow::GraphicsFailed(const std::string& text) {
  graphics_failed_ = true;
  ShowGraphicsError(text);
}

bool SdlWindow::CreateGraphics() {
  if (window_ == nullptr) return false;
  ReleaseGraphics();
  sink_.SetStringDrawer(&glyphs_);
  context_ = SDL_GL_CreateContext(window_);
  if (context_ == nullptr) {
    GraphicsFailed(std::string("Cannot create an OpenGL context (") + SDL_GetError() + ")");
    return false;
  }
  if (SDL_GL_MakeCurrent(window_, context_) != 0) {
    const std::string reason = SDL_GetError();
    SDL_GL_DeleteContext(context_);
    context_ = nullptr;
    GraphicsFailed("Cannot make the OpenGL context current (" + reason + ")");
    return false;
  }
  // The timer paces the frames; waiting for the vertical blank as well would
  // only add latency to it.
  SDL_GL_SetSwapInterval(0);
  return true;
}

void SdlWindow::ReleaseGraphics() {
  glyphs_.ContextReleased();
  if (context_ == nullptr) return;
  if (controls_ != nullptr) controls_->BeforeRelease();
  SDL_GL_MakeCurrent(window_, nullptr);
  SDL_GL_DeleteContext(context_);
  context_ = nullptr;
}

void SdlWindow::SwapBuffers() {
  if (context_ == nullptr) return;
  if (controls_ != nullptr) controls_->BeforeSwap();
  SDL_GL_SwapWindow(window_);
}

int SdlWindow::ScreenWidth() {
  SDL_Rect r{};
  return SDL_GetDisplayBounds(0, &r) == 0 ? r.w : 640;
}

int SdlWindow::ScreenHeight() {
  SDL_Rect r{};
  return SDL_GetDisplayBounds(0, &r) == 0 ? r.h : 480;
}

int SdlWindow::ClientWidth() {
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(window_, &w, &h);
  return w;
}

int SdlWindow::ClientHeight() {
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(window_, &w, &h);
  return h;
}

int SdlWindow::OuterWidth() {
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right);
  return ClientWidth() + left + right;
}

int SdlWindow::OuterHeight() {
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right);
  return ClientHeight() + top + bottom;
}

void SdlWindow::SetBounds(int left, int top, int width, int height) {
  // SDL places and sizes the client area; the frame, when a window manager
  // draws one, comes off the outer size.
  int bt = 0, bl = 0, bb = 0, br = 0;
  SDL_GetWindowBordersSize(window_, &bt, &bl, &bb, &br);
  const int w = width - bl - br, h = height - bt - bb;
  SDL_SetWindowSize(window_, w > 0 ? w : 1, h > 0 ? h : 1);
  SDL_SetWindowPosition(window_, left + bl, top + bt);
}

bool SdlWindow::IsActive() {
  return (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

CursorPoint SdlWindow::CursorPos() {
  CursorPoint p;
  // SDL's global mouse state on X11 is a cache refreshed by raw input events
  // and can lag the last motion by a pixel or more; the 5-pixel rule needs
  // the pointer where the server has it.
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window_ != nullptr && SDL_GetWindowWMInfo(window_, &info) == SDL_TRUE &&
      info.subsystem == SDL_SYSWM_X11) {
    Display* d = info.info.x11.display;
    Window root = 0, child = 0;
    int wx = 0, wy = 0;
    unsigned mask = 0;
    if (XQueryPointer(d, DefaultRootWindow(d), &root, &child, &p.x, &p.y, &wx, &wy, &mask)) {
      return p;
    }
  }
  SDL_GetGlobalMouseState(&p.x, &p.y);
  return p;
}

void SdlWindow::ShowCursor(bool show) {
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindow::SetScreenSaverRunning(bool running) {
  // While we run, the desktop's own blanker should not start over us.
  if (running) {
    SDL_DisableScreenSaver();
  } else {
    SDL_EnableScreenSaver();
  }
}

void SdlWindow::Wake() {
  if (request_event_ == static_cast<Uint32>(-1)) return;
  SDL_Event e{};
  e.type = request_event_;
  SDL_PushEvent(&e);
}

}  // namespace qv
