#pragma once
// The Windows platform's one message loop. It makes the window a front-end
// describes, owns its WGL context, timer and input, and drives the
// front-end through its handlers until the window ends.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <functional>
#include <memory>

#include "app/front_end.h"
#include "app/host.h"
#include "platform/win32/wgl_window_win32.h"

namespace qv {

// The icon of the .scr, shared by the windows that show one.
inline constexpr int kAppIconId = 1;

// Native child controls of a window (the settings window's trackbars,
// labels and buttons), and how its GL picture is placed among them.
class Win32Controls : public SwapHook {
 public:
  // Made before the front-end's creation; may name the child that GL draws on.
  virtual void Create(HWND window, HINSTANCE instance, WglWindow& gl) = 0;
  // Messages of the window before the loop's own handling; true when taken,
  // with the window procedure's result.
  virtual bool Message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) = 0;
  // After creation, activation and every change of size.
  virtual void Layout() = 0;
  void BeforeSwap() override {}
};

struct Started {
  std::unique_ptr<FrontEnd> front;
  std::unique_ptr<Win32Controls> controls;
};
using Launch = std::function<Started(const Host& host)>;

// `parent`: for a preview, the host's window (nullptr: a top-most pop-up).
int RunWindow(HINSTANCE instance, const WindowSpec& spec, HWND parent, const Launch& launch);

}  // namespace qv
