#include "gl/wgl_host_win32.h"

#include <shellapi.h>

#include "password/password_win32.h"
#include "store/registry_store_win32.h"
#include "store/settings.h"

namespace qv {

bool SetupPixelFormat(HDC dc, int& screen_colour_bits) {
  HDC screen = GetDC(nullptr);
  screen_colour_bits = GetDeviceCaps(screen, BITSPIXEL);
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

WglWindowHost::~WglWindowHost() {
  ReleaseGraphics();
}

bool WglWindowHost::CreateGraphics() {
  // Each activation starts afresh; the context and device context of the
  // previous one would otherwise leak for the life of the saver.
  ReleaseGraphics();
  HWND drawable = Drawable();
  if (drawable == nullptr || !IsWindow(drawable)) return false;
  dc_ = GetDC(drawable);
  if (dc_ == nullptr) return false;
  glyphs_.SetDc(dc_);
  if (!SetupPixelFormat(dc_, scene_.ScreenColorBits)) return false;
  rc_ = wglCreateContext(dc_);
  if (rc_ != nullptr) wglMakeCurrent(dc_, rc_);
  return true;
}

void WglWindowHost::ReleaseGraphics() {
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

void WglWindowHost::SwapBuffers() {
  if (dc_ == nullptr) return;
  if (rc_ != nullptr) BeforeSwap();
  ::SwapBuffers(dc_);
}

int WglWindowHost::ScreenWidth() {
  return GetSystemMetrics(SM_CXSCREEN);
}
int WglWindowHost::ScreenHeight() {
  return GetSystemMetrics(SM_CYSCREEN);
}

int WglWindowHost::ClientWidth() {
  RECT r = {};
  if (window_ == nullptr || !GetClientRect(window_, &r)) return 0;
  return r.right - r.left;
}

int WglWindowHost::ClientHeight() {
  RECT r = {};
  if (window_ == nullptr || !GetClientRect(window_, &r)) return 0;
  return r.bottom - r.top;
}

void WglWindowHost::SetBounds(int left, int top, int width, int height) {
  if (window_ == nullptr) return;
  SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WglWindowHost::ShowErrorBox(const std::string& text) {
  MessageBoxA(window_, text.c_str(), kApplicationTitle, MB_ICONERROR | MB_OK);
}

void WglWindowHost::RequestClose() {
  // Posted, not sent: the handler that asks must run to its end before the
  // close steps release the context it may still be using.
  if (window_ != nullptr) PostMessageA(window_, WM_CLOSE, 0, 0);
}

void WglWindowHost::Terminate() {
  PostQuitMessage(0);
}

bool WglWindowHost::IsActive() {
  return window_ != nullptr && (GetActiveWindow() == window_ || GetForegroundWindow() == window_);
}

CursorPoint WglWindowHost::CursorPos() {
  POINT p = {};
  GetCursorPos(&p);
  return CursorPoint{p.x, p.y};
}

void WglWindowHost::ShowCursor(bool show) {
  ::ShowCursor(show ? TRUE : FALSE);
}

void WglWindowHost::SetScreenSaverRunning(bool running) {
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, nullptr, 0);
}

bool WglWindowHost::VerifyPassword() {
  return VerifySaverPassword(window_);
}

std::unique_ptr<SettingsStore> WglWindowHost::OpenSettingsStore() {
  return std::make_unique<RegistrySettingsStore>(HKEY_CURRENT_USER);
}

void WglWindowHost::OpenWebPage(const char* address) {
  if (address == nullptr) return;
  ShellExecuteA(window_, "open", address, "", "", SW_SHOW);
}

}  // namespace qv
