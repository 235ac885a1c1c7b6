// The settings window on Win32: the live scene drawn on the window itself,
// native trackbars, labels and buttons below it, all events forwarded to
// TForm2.

#include "app/shells_win32.h"  // windows.h first: commctrl.h builds on it

#include <commctrl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "gl/opengl_headers.h"
#include "gl/wgl_host_win32.h"
#include "settings/settings_window.h"

namespace qv {
namespace {

constexpr const char* kClassName = "QuorvelianSettings";
constexpr const char* kSceneClassName = "QuorvelianSettingsScene";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kFrameIntervalMs = 31;
constexpr int kFirstSliderId = 100;
constexpr int kSaveButtonId = 200;
constexpr int kSiteButtonId = 201;
constexpr int kLabelHeight = 20;
// The scene's viewport, in pixels of the window's client area from its
// bottom edge, and the first row of controls, which the scene must not cover.
constexpr int kSceneBottom = 110;
constexpr int kSceneHeightLoss = 140;
constexpr int kControlsTop = kSliders[0].label_top;
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;

COLORREF LabelColour() {
  return RGB((kLabelColour >> 16) & 0xFF, (kLabelColour >> 8) & 0xFF, kLabelColour & 0xFF);
}

// Wine renders OpenGL on a child window into a hidden X window that it never
// shows, so there the frame is read back and painted through GDI instead.
bool GlChildWindowsHidden() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class SettingsHost final : public WglWindowHost {
 public:
  explicit SettingsHost(SceneState& scene)
      : WglWindowHost(scene), present_by_gdi_(GlChildWindowsHidden()) {}
  bool present_by_gdi() const { return present_by_gdi_; }

 protected:
  void BeforeSwap() override {
    if (!present_by_gdi_ || drawable() == nullptr) return;
    RECT r = {};
    GetClientRect(drawable(), &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return;
    pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_BGRA_EXT, GL_UNSIGNED_BYTE, pixels_.data());
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as GL reads
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // On the window's own surface over the child's place: GDI output on
    // the child itself would go to the same hidden X window as its GL.
    HDC dc = GetDCEx(window(), nullptr, DCX_CACHE);
    if (dc == nullptr) return;
    POINT origin = {0, 0};
    MapWindowPoints(drawable(), window(), &origin, 1);
    SetDIBitsToDevice(dc, origin.x, origin.y, static_cast<DWORD>(width), static_cast<DWORD>(height),
                      0, 0, 0, static_cast<UINT>(height), pixels_.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(window(), dc);
  }

 private:
  bool present_by_gdi_;
  std::vector<std::uint32_t> pixels_;
};

struct SettingsShell {
  SettingsHost host;
  TForm2 form;
  HWND window = nullptr;
  // OpenGL draws on this child above the controls, never on the window: a
  // GL surface of the window itself would be composited over the controls by
  // drivers that render GL into an overlay (Wine among them).
  HWND scene = nullptr;
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
    FitScene();
  }

  // Keeps the scene child over the part of the client area above the
  // controls, and shifts the viewport that the form set in client-area
  // pixels into the child's own, so the picture lands where it would on the
  // window itself.
  void FitScene() {
    if (scene == nullptr) return;
    RECT client = {};
    GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    int scene_height = height - kSceneBottom;
    if (scene_height > kControlsTop) scene_height = kControlsTop;
    if (scene_height < 0) scene_height = 0;
    SetWindowPos(scene, nullptr, 0, 0, width, scene_height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (!host.has_context()) return;
    RECT outer = {};
    GetWindowRect(window, &outer);
    host.Sink().Viewport(0, kSceneBottom - (height - scene_height), outer.right - outer.left,
                         outer.bottom - outer.top - kSceneHeightLoss);
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
    HWND label = CreateWindowExA(0, "STATIC", s.label, WS_CHILD | WS_VISIBLE | SS_LEFT,
                                 s.label_left, s.label_top, s.label_width, kLabelHeight,
                                 shell.window, nullptr, instance, nullptr);
    set_font(label);
    HWND slider = CreateWindowExA(
        0, TRACKBAR_CLASSA, "",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, s.left, s.top,
        kSliderWidth, kSliderHeight, shell.window,
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
    HWND button = CreateWindowExA(
        0, "BUTTON", spec.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, spec.left,
        spec.top, spec.width, spec.height, shell.window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    set_font(button);
  }
}

LRESULT CALLBACK SceneProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // every frame clears it
    case WM_PAINT:
      ValidateRect(window, nullptr);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
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
      if (LOWORD(wparam) != WA_INACTIVE) {
        shell->form.FormActivate();
        shell->FitScene();
      }
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

  RegisterSaverWindowClass(instance, SettingsProc, kClassName, LoadCursorA(nullptr, IDC_ARROW));

  WNDCLASSEXA scene_class = {};
  scene_class.cbSize = sizeof(scene_class);
  scene_class.style = CS_OWNDC;
  scene_class.lpfnWndProc = SceneProc;
  scene_class.hInstance = instance;
  scene_class.lpszClassName = kSceneClassName;
  RegisterClassExA(&scene_class);

  auto shell = std::make_unique<SettingsShell>(scene, store);
  // Design place and size; FormCreate centres it at its final size.
  HWND window = CreateWindowExA(0, kClassName, kSettingsCaption, kWindowStyle, 320, 142, 414, 440,
                                nullptr, nullptr, instance, shell.get());
  if (window == nullptr) return 1;
  shell->window = window;
  shell->host.Attach(window);
  // Disabled: clicks on the picture must not take the focus from the sliders.
  // Where GL children stay hidden anyway the child is never shown, so that
  // the window's own surface, which the frames are painted on, shows there.
  shell->scene = CreateWindowExA(
      0, kSceneClassName, "",
      WS_CHILD | (shell->host.present_by_gdi() ? 0 : WS_VISIBLE) | WS_DISABLED | WS_CLIPSIBLINGS, 0,
      0, 0, 0, window, nullptr, instance, nullptr);
  if (shell->scene != nullptr) shell->host.AttachDrawable(shell->scene);
  CreateControls(*shell, instance);
  shell->created = true;
  shell->FitScene();
  shell->form.FormCreate();
  shell->FitScene();
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
