#include "platform/win32/message_loop_win32.h"

#include "app/driver.h"
#include "platform/win32/monitor_covers_win32.h"
#include "platform/win32/services_win32.h"

namespace qv {

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr DWORD kDialogStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;

struct WindowState {
  WindowKind kind;
  Driver* driver = nullptr;
  Win32Controls* controls = nullptr;
  // Messages that arrive while the window is still being made must not
  // reach the front-end before its FormCreate.
  bool created = false;
};

const char* ClassName(WindowKind kind) {
  switch (kind) {
    case WindowKind::kFullScreen:
      return "QuorvelianScreenSaver";
    case WindowKind::kDialog:
      return "QuorvelianSettings";
    case WindowKind::kPreview:
      break;
  }
  return "QuorvelianPreview";
}

LRESULT CALLBACK SaverWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    auto* state = static_cast<WindowState*>(create->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    // The preview answers its creation without the default procedure.
    if (state->kind == WindowKind::kPreview) return 1;
  }
  auto* state = reinterpret_cast<WindowState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (state != nullptr && state->controls != nullptr) {
    LRESULT result = 0;
    if (state->controls->Message(message, wparam, lparam, &result)) return result;
  }
  if (state == nullptr || !state->created) {
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(window, message, wparam, lparam);
  }
  Driver& driver = *state->driver;
  const WindowKind kind = state->kind;
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) {
        driver.Activate();
        if (state->controls != nullptr) state->controls->Layout();
      }
      return 0;
    case WM_SIZE:
      driver.Resize();
      if (state->controls != nullptr) state->controls->Layout();
      return 0;
    case WM_TIMER:
      if (wparam == kTimerId) driver.Tick();
      return 0;
    case WM_SYSKEYDOWN:
      // Any key ends the saver, Alt and F10 too; elsewhere they keep
      // their system meaning.
      if (kind != WindowKind::kFullScreen) break;
      driver.Key(static_cast<int>(wparam));
      return 0;
    case WM_KEYDOWN:
      driver.Key(static_cast<int>(wparam));
      return 0;
    case WM_MOUSEMOVE:
      driver.MouseMove();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (kind == WindowKind::kPreview) return 0;
      break;
    case WM_PAINT:
      if (kind != WindowKind::kPreview) break;
      driver.Paint();
      ValidateRect(window, nullptr);
      return 0;
    case WM_ERASEBKGND:
      if (kind == WindowKind::kPreview) break;
      // Black until the first frame; from then on every frame clears the
      // whole client area itself.
      if (kind == WindowKind::kDialog) {
        RECT r = {};
        GetClientRect(window, &r);
        FillRect(reinterpret_cast<HDC>(wparam), &r,
                 static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      }
      return 1;
    case WM_CLOSE:
      KillTimer(window, kTimerId);
      driver.Close();
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      // The host destroying a preview's area ends it the same way.
      KillTimer(window, kTimerId);
      driver.Close();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

void RegisterClassFor(HINSTANCE instance, WindowKind kind) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = SaverWndProc;
  wc.hInstance = instance;
  wc.lpszClassName = ClassName(kind);
  if (kind == WindowKind::kPreview) {
    wc.style = CS_PARENTDC;
  } else {
    // A device context of its own, so the GL context made on it stays valid
    // between frames, the .scr's icon, and black until the first frame.
    wc.style = CS_OWNDC;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kAppIconId));
    wc.hCursor = kind == WindowKind::kDialog ? LoadCursorA(nullptr, IDC_ARROW) : nullptr;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  }
  RegisterClassExA(&wc);
}

HWND CreateFor(HINSTANCE instance, const WindowSpec& spec, HWND parent, WindowState* state) {
  const char* name = ClassName(spec.kind);
  switch (spec.kind) {
    case WindowKind::kFullScreen:
      return CreateWindowExA(WS_EX_TOPMOST, name, spec.caption, WS_POPUP, spec.left, spec.top,
                             spec.width, spec.height, nullptr, nullptr, instance, state);
    case WindowKind::kDialog:
      return CreateWindowExA(0, name, spec.caption, kDialogStyle, spec.left, spec.top, spec.width,
                             spec.height, nullptr, nullptr, instance, state);
    case WindowKind::kPreview:
      break;
  }
  HWND window = nullptr;
  if (parent != nullptr) {
    RECT r = {};
    GetWindowRect(parent, &r);
    window = CreateWindowExA(0, name, spec.caption, WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0,
                             r.right - r.left, r.bottom - r.top, parent, nullptr, instance, state);
  } else {
    window = CreateWindowExA(0, name, spec.caption, WS_POPUP | WS_VISIBLE, spec.left, spec.top,
                             spec.width, spec.height, nullptr, nullptr, instance, state);
    if (window != nullptr) {
      SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
    }
  }
  // WM_NCCREATE answers without the default procedure, which is what would
  // have stored the caption; give the window its name explicitly.
  if (window != nullptr) SetWindowTextA(window, spec.caption);
  return window;
}

}  // namespace

int RunWindow(HINSTANCE instance, const WindowSpec& spec, HWND parent, const Launch& launch) {
  RegisterClassFor(instance, spec.kind);
  WglWindow gl;
  Win32Services services;
  Started started = launch(Host{gl, gl, services});
  Driver driver(*started.front);
  WindowState state{spec.kind, &driver, nullptr, false};
  HWND window = CreateFor(instance, spec, parent, &state);
  if (window == nullptr) return 1;
  gl.Attach(window);
  gl.Bind(driver);
  services.SetOwner(window);
  if (started.controls != nullptr) {
    state.controls = started.controls.get();
    started.controls->Create(window, instance, gl);
    gl.SetSwapHook(started.controls.get());
  }
  state.created = true;
  if (state.controls != nullptr) state.controls->Layout();
  driver.Create();
  if (state.controls != nullptr) state.controls->Layout();
  if (!driver.ended()) {
    if (spec.timer_interval_ms > 0) {
      SetTimer(window, kTimerId, static_cast<UINT>(spec.timer_interval_ms), nullptr);
    }
    if (spec.kind != WindowKind::kPreview) {
      ShowWindow(window, SW_SHOW);
      SetForegroundWindow(window);
      UpdateWindow(window);
    }
  }
  // The saver blacks out every other monitor too; input there ends it the
  // same ways as on its own window.
  MonitorCovers covers;
  if (spec.kind == WindowKind::kFullScreen && !driver.ended()) {
    const ScreenRect primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    covers.Create(instance, PlaceSaverWindows(EnumerateMonitors(), primary).covers,
                  {[&driver](int key) { driver.Key(key); }, [&driver] { driver.MouseMove(); }});
  }

  MSG msg;
  while (!driver.ended() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    const bool in_window = msg.hwnd != window && IsChild(window, msg.hwnd);
    // Key preview: the window sees every key before the focused control, so
    // Escape ends the settings window from a slider or a button as well.
    if (msg.message == WM_KEYDOWN && in_window) {
      driver.Key(static_cast<int>(msg.wParam));
      if (driver.ended()) break;
    }
    // Tab and Shift+Tab between the controls, Space and Enter on buttons,
    // as in any dialog box. Keys for the window itself still go to it.
    if (spec.kind == WindowKind::kDialog && in_window && IsDialogMessageA(window, &msg)) {
      driver.Settle();
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    driver.Settle();
  }
  KillTimer(window, kTimerId);
  covers.Destroy();
  gl.ReleaseGraphics();
  gl.SetSwapHook(nullptr);
  state.controls = nullptr;
  if (IsWindow(window)) DestroyWindow(window);
  return 0;
}

}  // namespace qv
