#include "platform/win32/monitor_covers_win32.h"

#include <algorithm>

namespace qv {

namespace {

constexpr const char* kCoverClass = "QuorvelianCover";

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  reinterpret_cast<std::vector<Monitor>*>(data)->push_back(
      {{r.left, r.top, r.right - r.left, r.bottom - r.top},
       (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

}  // namespace

std::vector<Monitor> EnumerateMonitors() {
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

LRESULT CALLBACK MonitorCovers::Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<MonitorCovers*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_MOUSEACTIVATE:
      // A click on a cover must not take the keyboard from the saver.
      return MA_NOACTIVATE;
    case WM_SETCURSOR:
      SetCursor(nullptr);
      return TRUE;
    case WM_MOUSEMOVE:
      if (self != nullptr && self->input_.mouse_move) self->input_.mouse_move();
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (self != nullptr && self->input_.key) self->input_.key(static_cast<int>(wparam));
      return 0;
    case WM_CLOSE:
      // Only the saver decides when it ends; its end destroys the covers.
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

void MonitorCovers::Create(HINSTANCE instance, const std::vector<ScreenRect>& places, Input input) {
  Destroy();
  input_ = std::move(input);
  if (places.empty()) return;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kCoverClass;
  RegisterClassExA(&wc);  // fails harmlessly when already registered
  for (const ScreenRect& r : places) {
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kCoverClass,
                                 "", WS_POPUP, r.left, r.top, r.width, r.height, nullptr, nullptr,
                                 instance, this);
    if (cover == nullptr) continue;
    ShowWindow(cover, SW_SHOWNOACTIVATE);
    UpdateWindow(cover);
    windows_.push_back(cover);
  }
}

void MonitorCovers::Destroy() {
  for (HWND cover : windows_) {
    if (IsWindow(cover)) DestroyWindow(cover);
  }
  windows_.clear();
}

bool MonitorCovers::Owns(HWND window) const {
  return std::find(windows_.begin(), windows_.end(), window) != windows_.end();
}

}  // namespace qv
