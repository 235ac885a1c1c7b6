// The settings window on Win32: the live scene drawn on the window itself,
// native trackbars, labels and buttons below it, all events forwarded to
// TForm2.

#include "app/shells_win32.h"  // windows.h first: commctrl.h builds on it

#include <commctrl.h>

#include <array>
#include <memory>
#include <utility>

#include "gl/wgl_host_win32.h"
#include "settings/settings_window.h"

namespace qv {
namespace {

constexpr const char* kClassName = "QuorvelianSettings";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kFrameIntervalMs = 31;
constexpr int kFirstSliderId = 100;
constexpr int kSaveButtonId = 200;
constexpr int kSiteButtonId = 201;
constexpr int kLabelHeight = 20;
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;

COLORREF LabelColour() {
  return RGB((kLabelColour >> 16) & 0xFF, (kLabelColour >> 8) & 0xFF, kLabelColour & 0xFF);
}

struct SettingsShell {
  WglWindowHost host;
  TForm2 form;
  HWND window = nullptr;
  std::array<HWND, kSliders.size()> sliders{};
  HFONT font = nullptr;
  bool created = false;

  SettingsShell(SceneState& scene, GeometryStore& store) : host(scene), form(scene, store, host) {}
  ~SettingsShell() {
    if (font != nullptr) DeleteObject(font);
  }

  // The model owns the positions (it clamps and decides whether a change
  // happened); the native controls only show them.
  void SyncSliders() {
    for (std::size_t i = 0; i < sliders.size(); ++i) {
      if (sliders[i] == nullptr) continue;
      LRESULT shown = SendMessageA(sliders[i], TBM_GETPOS, 0, 0);
      int wanted = form.SliderPosition(static_cast<int>(i));
      if (shown != wanted) SendMessageA(sliders[i], TBM_SETPOS, TRUE, wanted);
    }
  }

  int SliderIndex(HWND control) const {
    for (std::size_t i = 0; i < sliders.size(); ++i) {
      if (sliders[i] == control) return static_cast<int>(i);
    }
    return -1;
  }

  void ForwardResize() {
    RECT r = {};
    GetWindowRect(window, &r);
    form.FormResize(r.right - r.left, r.bottom - r.top);
  }
};

void CreateControls(SettingsShell& shell, HINSTANCE instance) {
  shell.font = CreateFontA(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
  auto set_font = [&](HWND control) {
    if (control != nullptr && shell.font != nullptr) {
      SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(shell.font), FALSE);
    }
  };
  for (std::size_t i = 0; i < kSliders.size(); ++i) {
    const SliderSpec& s = kSliders[i];
    HWND label = CreateWindowExA(0, "STATIC", s.label, WS_CHILD | WS_VISIBLE | SS_LEFT, s.label_left,
                                 s.label_top, s.label_width, kLabelHeight, shell.window, nullptr,
                                 instance, nullptr);
    set_font(label);
    HWND slider = CreateWindowExA(
        0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS,
        s.left, s.top, kSliderWidth, kSliderHeight, shell.window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstSliderId + static_cast<int>(i))),
        instance, nullptr);
    if (slider != nullptr) {
      SendMessageA(slider, TBM_SETRANGE, FALSE, MAKELPARAM(s.min, s.max));
      SendMessageA(slider, TBM_SETTICFREQ, 1, 0);
      SendMessageA(slider, TBM_SETPOS, TRUE, s.design);
    }
    shell.sliders[i] = slider;
  }
  for (const auto& [spec, id] : {std::pair<ButtonSpec, int>{kSaveButton, kSaveButtonId},
                                 std::pair<ButtonSpec, int>{kSiteButton, kSiteButtonId}}) {
    HWND button = CreateWindowExA(0, "BUTTON", spec.caption,
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, spec.left,
                                  spec.top, spec.width, spec.height, shell.window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                  nullptr);
    set_font(button);
  }
}

LRESULT CALLBACK SettingsProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* shell = reinterpret_cast<SettingsShell*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_CTLCOLORSTATIC) {
    // Labels and the trackbars' backgrounds: light text on black.
    HDC dc = reinterpret_cast<HDC>(wparam);
    SetTextColor(dc, LabelColour());
    SetBkColor(dc, RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
  }
  if (shell == nullptr || !shell->created) {
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(window, message, wparam, lparam);
  }
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) shell->form.FormActivate();
      return 0;
    case WM_SIZE:
      shell->ForwardResize();
      return 0;
    case WM_TIMER:
      if (wparam == kTimerId && !shell->form.ended()) shell->form.TimerTimer();
      return 0;
    case WM_KEYDOWN:
      shell->form.FormKeyDown(static_cast<int>(wparam));
      return 0;
    case WM_HSCROLL: {
      int index = shell->SliderIndex(reinterpret_cast<HWND>(lparam));
      if (index >= 0) {
        auto pos = static_cast<int>(SendMessageA(reinterpret_cast<HWND>(lparam), TBM_GETPOS, 0, 0));
        shell->form.SetSliderPosition(index, pos);
        shell->SyncSliders();
      }
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) {
        if (LOWORD(wparam) == kSaveButtonId) shell->form.BitBtn1Click();
        if (LOWORD(wparam) == kSiteButtonId) shell->form.BitBtn2Click();
      }
      return 0;
    case WM_ERASEBKGND: {
      // Black until the first frame; from then on every frame clears the
      // whole client area itself.
      RECT r = {};
      GetClientRect(window, &r);
      FillRect(reinterpret_cast<HDC>(wparam), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      return 1;
    }
    case WM_CLOSE:
      KillTimer(window, kTimerId);
      shell->host.ReleaseGraphics();
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

int RunSettingsWindow(HINSTANCE instance, SceneState& scene, GeometryStore& store) {
  INITCOMMONCONTROLSEX icc = {};
  icc.dwSize = sizeof(icc);
  icc.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&icc);

  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = SettingsProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kAppIconId));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kClassName;
  RegisterClassExA(&wc);

  auto shell = std::make_unique<SettingsShell>(scene, store);
  // Design place and size; FormCreate centres it at its final size.
  HWND window = CreateWindowExA(0, kClassName, kSettingsCaption, kWindowStyle, 320, 142, 414, 440,
                                nullptr, nullptr, instance, shell.get());
  if (window == nullptr) return 1;
  shell->window = window;
  shell->host.Attach(window);
  CreateControls(*shell, instance);
  shell->created = true;
  shell->form.FormCreate();
  shell->SyncSliders();
  SetTimer(window, kTimerId, kFrameIntervalMs, nullptr);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  UpdateWindow(window);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // Key preview: the window sees every key before the focused control, so
    // Escape ends the program from a slider or a button as well.
    if (msg.message == WM_KEYDOWN && msg.hwnd != window && IsChild(window, msg.hwnd)) {
      shell->form.FormKeyDown(static_cast<int>(msg.wParam));
      if (shell->form.ended()) continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  KillTimer(window, kTimerId);
  if (IsWindow(window)) DestroyWindow(window);
  return 0;
}

}  // namespace qv
