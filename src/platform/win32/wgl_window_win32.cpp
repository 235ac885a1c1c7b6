#include "platform/win32/wgl_window_win32.h"

#include "platform/win32/dpi_win32.h"

namespace qv {

bool SetupPixelFormat(HDC dc) {
  HDC screen = GetDC(nullptr);
  const int screen_colour_bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);

  PIXELFORMATDESCRIPTOR pfd = {};
  pfd.nSize = sizeof(pfd);
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = static_cast<BYTE>(screen_colour_bits & 0xFF);
  pfd.cDepthBits = 32;
  pfd.iLayerType = PFD_MAIN_PLANE;

  int format = ChoosePixelFormat(dc, &pfd);
  if (format == 0) {
    MessageBoxA(nullptr, "ChoosePixelFormat failed", "Error", MB_OK);
    return false;
  }
  // A window takes one pixel format for its whole life; the activations after
  // the first find it already set, which is no failure.
  if (GetPixelFormat(dc) == format) return true;
  if (!SetPixelFormat(dc, format, &pfd)) {
    MessageBoxA(nullptr, "SetPixelFormat failed", "Error", MB_OK);
    return false;
  }
  return true;
}

WglCaptionGlyphs::~WglCaptionGlyphs() {
  if (font_ != nullptr) DeleteObject(font_);
}

bool WglCaptionGlyphs::Build(unsigned base, int first, int count, int height) {
  if (dc_ == nullptr) return false;
  HFONT font = CreateFontA(height, 0, 0, 0, 700, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           "Courier New");
  if (font != nullptr) SelectObject(dc_, font);
  // Some drivers fail the very first call on a fresh context and succeed on
  // the next, so one retry before giving up on the caption.
  BOOL built = wglUseFontBitmapsA(dc_, static_cast<DWORD>(first), static_cast<DWORD>(count), base);
  if (!built)
    built = wglUseFontBitmapsA(dc_, static_cast<DWORD>(first), static_cast<DWORD>(count), base);
  // The font of an earlier activation is not used again.
  if (font_ != nullptr && font_ != font) DeleteObject(font_);
  font_ = font;
  return built != FALSE;
}

WglWindow::~WglWindow() {
  ReleaseGraphics();
}

bool WglWindow::CreateGraphics() {
  // Each activation starts afresh; the context and device context of the
  // previous one would otherwise leak for the life of the saver.
  ReleaseGraphics();
  HWND drawable = Drawable();
  if (drawable == nullptr || !IsWindow(drawable)) return false;
  dc_ = GetDC(drawable);
  if (dc_ == nullptr) return false;
  glyphs_.SetDc(dc_);
  if (!SetupPixelFormat(dc_)) return false;
  rc_ = wglCreateContext(dc_);
  if (rc_ != nullptr) wglMakeCurrent(dc_, rc_);
  return true;
}

void WglWindow::ReleaseGraphics() {
  if (rc_ != nullptr) {
    wglMakeCurrent(dc_, nullptr);
    wglDeleteContext(rc_);
    rc_ = nullptr;
  }
  if (dc_ != nullptr) {
    ReleaseDC(Drawable(), dc_);
    dc_ = nullptr;
  }
  glyphs_.SetDc(nullptr);
}

void WglWindow::SwapBuffers() {
  if (dc_ == nullptr) return;
  if (rc_ != nullptr && swap_hook_ != nullptr) swap_hook_->BeforeSwap();
  ::SwapBuffers(dc_);
}

int WglWindow::ScreenWidth() {
  return GetSystemMetrics(SM_CXSCREEN);
}
int WglWindow::ScreenHeight() {
  return GetSystemMetrics(SM_CYSCREEN);
}

int WglWindow::ClientWidth() {
  RECT r = {};
  if (window_ == nullptr || !GetClientRect(window_, &r)) return 0;
  return r.right - r.left;
}

int WglWindow::ClientHeight() {
  RECT r = {};
  if (window_ == nullptr || !GetClientRect(window_, &r)) return 0;
  return r.bottom - r.top;
}

int WglWindow::OuterWidth() {
  RECT r = {};
  if (window_ == nullptr || !GetWindowRect(window_, &r)) return 0;
  return r.right - r.left;
}

int WglWindow::OuterHeight() {
  RECT r = {};
  if (window_ == nullptr || !GetWindowRect(window_, &r)) return 0;
  return r.bottom - r.top;
}

void WglWindow::SetBounds(int left, int top, int width, int height) {
  if (window_ == nullptr) return;
  SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WglWindow::Wake() {
  // Requests made inside a handler are acted on once it has returned, before
  // the close steps release the context it may still be using; the posted
  // message wakes the loop when a request comes from another thread.
  if (window_ != nullptr) PostMessageA(window_, WM_NULL, 0, 0);
}

void WglWindow::Invalidate() {
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

int WglWindow::Dpi() {
  return dpi_ > 0 ? dpi_ : WindowDpi(window_);
}

bool WglWindow::IsActive() {
  return window_ != nullptr && (GetActiveWindow() == window_ || GetForegroundWindow() == window_);
}

CursorPoint WglWindow::CursorPos() {
  POINT p = {};
  GetCursorPos(&p);
  return CursorPoint{p.x, p.y};
}

void WglWindow::ShowCursor(bool show) {
  ::ShowCursor(show ? TRUE : FALSE);
}

void WglWindow::SetScreenSaverRunning(bool running) {
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, nullptr, 0);
}

}  // namespace qv
