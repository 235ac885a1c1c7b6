// The full-screen saver window on Win32: a top-most borderless pop-up whose
// messages become TForm1's events.

#include <memory>

#include "app/shells_win32.h"
#include "fullscreen/fullscreen.h"
#include "gl/wgl_host_win32.h"

namespace qv {
namespace {

constexpr const char* kClassName = "QuorvelianScreenSaver";
constexpr UINT_PTR kTimerId = 1;

struct FullScreenShell {
  WglWindowHost host;
  TForm1 form;
  // Messages that arrive while CreateWindowEx is still running must not
  // reach the form before its FormCreate.
  bool created = false;

  FullScreenShell(SceneState& scene, GeometryStore& store)
      : host(scene), form(scene, store, host) {}
};

LRESULT CALLBACK FullScreenProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* shell = reinterpret_cast<FullScreenShell*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (shell == nullptr || !shell->created) {
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(window, message, wparam, lparam);
  }
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) shell->form.FormActivate();
      return 0;
    case WM_SIZE:
      shell->form.FormResize();
      return 0;
    case WM_TIMER:
      if (wparam == kTimerId) shell->form.TimerTimer();
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      shell->form.FormKeyDown();
      return 0;
    case WM_MOUSEMOVE:
      shell->form.FormMouseMove();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      KillTimer(window, kTimerId);
      shell->form.FormClose();
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

}  // namespace

int RunFullScreenWindow(HINSTANCE instance, SceneState& scene, GeometryStore& store) {
  RegisterSaverWindowClass(instance, FullScreenProc, kClassName, nullptr);

  auto shell = std::make_unique<FullScreenShell>(scene, store);
  // Created at its design place and size; FormCreate then makes it cover the
  // primary screen.
  HWND window = CreateWindowExA(WS_EX_TOPMOST, kClassName, kFullScreenCaption, WS_POPUP, 229, 147,
                                640, 480, nullptr, nullptr, instance, shell.get());
  if (window == nullptr) return 1;
  shell->host.Attach(window);
  shell->created = true;
  shell->form.FormCreate();
  SetTimer(window, kTimerId, kFrameIntervalMs, nullptr);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  UpdateWindow(window);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (IsWindow(window)) DestroyWindow(window);
  return 0;
}

}  // namespace qv
