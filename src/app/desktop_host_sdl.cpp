#include "app/desktop_host_sdl.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstdio>

#include "password/password_posix.h"
#include "store/file_store_posix.h"
#include "store/settings.h"

#ifdef QV_HAVE_FREETYPE_GLYPHS
#include "gl/freetype_glyphs_posix.h"
#endif

namespace qv {

namespace {

class NoCaptionGlyphs final : public CaptionGlyphs {
 public:
  bool Build(unsigned, int, int, int) override { return false; }
};

}  // namespace

namespace {

void ShowBox(const char* caption, const std::string& text, SDL_Window* owner) {
  // SDL's X11 box needs the server's core fonts; where they are missing the
  // text above on stderr is all that is left, so say why no box came.
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text.c_str(), owner) != 0) {
    std::fprintf(stderr, "quorvelian: (no message box: %s)\n", SDL_GetError());
  }
}

}  // namespace

void ShowGraphicsError(const std::string& text) {
  std::fprintf(stderr, "quorvelian: %s\n", text.c_str());
  ShowBox("Error", text, nullptr);
}

std::unique_ptr<CaptionGlyphs> MakeCaptionGlyphs() {
#ifdef QV_HAVE_FREETYPE_GLYPHS
  return std::make_unique<FreeTypeCaptionGlyphs>();
#else
  return std::make_unique<NoCaptionGlyphs>();
#endif
}

DesktopHost::DesktopHost() : glyphs_(MakeCaptionGlyphs()) {}

void DesktopHost::ShowErrorBox(const std::string& text) {
  std::fprintf(stderr, "quorvelian: %s\n", text.c_str());
  ShowBox(kApplicationTitle, text, BoxOwner());
}

bool DesktopHost::VerifyPassword() {
  return VerifySaverPassword();
}

std::unique_ptr<SettingsStore> DesktopHost::OpenSettingsStore() {
  return std::make_unique<FileSettingsStore>(DefaultSettingsFilePath());
}

void DesktopHost::OpenWebPage(const char* address) {
  // No browser is not an error the window reacts to.
  if (SDL_OpenURL(address) != 0) {
    std::fprintf(stderr, "quorvelian: cannot open %s: %s\n", address, SDL_GetError());
  }
}

void DesktopHost::GraphicsFailed(const std::string& text) {
  graphics_failed_ = true;
  ShowGraphicsError(text);
}

SdlWindowHost::~SdlWindowHost() {
  ReleaseGraphics();
  if (window_ != nullptr) SDL_DestroyWindow(window_);
}

bool SdlWindowHost::Open(const char* title, int left, int top, int width, int height,
                         Uint32 flags) {
  // The scene asks for a 32-bit depth buffer; take the nearest one the
  // driver offers, as a pixel-format search would.
  const int depths[] = {32, 24, 16};
  std::string reason;
  for (int depth : depths) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
    // Fixed-function GL 1.1 needs a compatibility context.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    window_ = SDL_CreateWindow(title, left, top, width, height,
                               flags | SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window_ != nullptr) return true;
    reason = SDL_GetError();
  }
  GraphicsFailed("No double-buffered RGBA OpenGL visual with a depth buffer (" + reason + ")");
  return false;
}

bool SdlWindowHost::CreateGraphics() {
  if (window_ == nullptr) return false;
  ReleaseGraphics();
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

void SdlWindowHost::ReleaseGraphics() {
  if (context_ == nullptr) return;
  if (before_release_) before_release_();
  SDL_GL_MakeCurrent(window_, nullptr);
  SDL_GL_DeleteContext(context_);
  context_ = nullptr;
}

void SdlWindowHost::SwapBuffers() {
  if (context_ == nullptr) return;
  if (before_swap_) before_swap_();
  SDL_GL_SwapWindow(window_);
}

int SdlWindowHost::ScreenWidth() {
  SDL_Rect r{};
  return SDL_GetDisplayBounds(0, &r) == 0 ? r.w : 640;
}

int SdlWindowHost::ScreenHeight() {
  SDL_Rect r{};
  return SDL_GetDisplayBounds(0, &r) == 0 ? r.h : 480;
}

int SdlWindowHost::ClientWidth() {
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(window_, &w, &h);
  return w;
}

int SdlWindowHost::ClientHeight() {
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(window_, &w, &h);
  return h;
}

int SdlWindowHost::OuterWidth() {
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right);
  return ClientWidth() + left + right;
}

int SdlWindowHost::OuterHeight() {
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right);
  return ClientHeight() + top + bottom;
}

void SdlWindowHost::SetBounds(int left, int top, int width, int height) {
  // SDL places and sizes the client area; the frame, when a window manager
  // draws one, comes off the outer size.
  int bt = 0, bl = 0, bb = 0, br = 0;
  SDL_GetWindowBordersSize(window_, &bt, &bl, &bb, &br);
  const int w = width - bl - br, h = height - bt - bb;
  SDL_SetWindowSize(window_, w > 0 ? w : 1, h > 0 ? h : 1);
  SDL_SetWindowPosition(window_, left + bl, top + bt);
}

bool SdlWindowHost::IsActive() {
  return (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

CursorPoint SdlWindowHost::CursorPos() {
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

void SdlWindowHost::ShowCursor(bool show) {
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindowHost::SetScreenSaverRunning(bool running) {
  // While we run, the desktop's own blanker should not start over us.
  if (running) {
    SDL_DisableScreenSaver();
  } else {
    SDL_EnableScreenSaver();
  }
}

}  // namespace qv
