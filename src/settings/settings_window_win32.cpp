// The settings window's native controls on Win32: trackbars, labels and
// buttons below the live scene, which OpenGL draws on a child window above
// them. Their events go to TForm2; the platform's loop does the rest.

#include "settings/settings_controls_win32.h"  // windows.h first: commctrl.h builds on it

#include <commctrl.h>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "gl/opengl_headers.h"
#include "platform/win32/dpi_win32.h"
#include "settings/dpi_layout.h"

namespace qv {
namespace {

constexpr const char* kSceneClassName = "QuorvelianSettingsScene";
constexpr int kFirstSliderId = 100;
constexpr int kSaveButtonId = 200;
constexpr int kSiteButtonId = 201;

COLORREF LabelColour() {
  return RGB((kLabelColour >> 16) & 0xFF, (kLabelColour >> 8) & 0xFF, kLabelColour & 0xFF);
}

// Wine renders OpenGL on a child window into a hidden X window that it never
// shows, so there the frame is read back and painted through GDI instead.
bool GlChildWindowsHidden() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
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

class TrackbarControls final : public Win32Controls {
 public:
  explicit TrackbarControls(TForm2& form) : form_(form), present_by_gdi_(GlChildWindowsHidden()) {}
  ~TrackbarControls() override {
    if (font_ != nullptr) DeleteObject(font_);
  }

  void Create(HWND window, HINSTANCE instance, WglWindow& gl) override {
    window_ = window;
    gl_ = &gl;
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&icc);

    WNDCLASSEXA scene_class = {};
    scene_class.cbSize = sizeof(scene_class);
    scene_class.style = CS_OWNDC;
    scene_class.lpfnWndProc = SceneProc;
    scene_class.hInstance = instance;
    scene_class.lpszClassName = kSceneClassName;
    RegisterClassExA(&scene_class);
    // OpenGL draws on this child above the controls, never on the window: a
    // GL surface of the window itself would be composited over the controls
    // by drivers that render GL into an overlay (Wine among them). Disabled:
    // clicks on the picture must not take the focus from the sliders. Where
    // GL children stay hidden anyway the child is never shown, so that the
    // window's own surface, which the frames are painted on, shows there.
    scene_ = CreateWindowExA(
        0, kSceneClassName, "",
        WS_CHILD | (present_by_gdi_ ? 0 : WS_VISIBLE) | WS_DISABLED | WS_CLIPSIBLINGS, 0, 0, 0, 0,
        window, nullptr, instance, nullptr);
    if (scene_ != nullptr) gl.AttachDrawable(scene_);
    layout_ = LayoutForDpi(WindowDpi(window_));
    CreateChildren(instance);
    // The keyboard starts on "Speed", its focus shown from the start rather
    // than only after the first key, as the keyboard user needs to see it.
    SendMessageA(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL),
                 0);
    focused_ = sliders_[0];
  }

  bool Message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override {
    switch (message) {
      case WM_ACTIVATE:
        // As a dialog box does: the control that had the keyboard gets it
        // back. The loop still runs the activation itself.
        if (LOWORD(wparam) == WA_INACTIVE) {
          HWND focus = GetFocus();
          if (focus != nullptr && IsChild(window_, focus)) focused_ = focus;
        } else if (focused_ != nullptr && IsWindow(focused_)) {
          SetFocus(focused_);
        }
        return false;
      case WM_DPICHANGED: {
        // Moved to a monitor of another scaling: the size the system
        // suggests, the controls and the font at the new DPI, and through
        // the resize the scene's viewport.
        const int dpi = HIWORD(wparam);
        gl_->SetDpi(dpi);
        layout_ = LayoutForDpi(dpi);
        PlaceChildren();
        RECT target = {};
        if (lparam != 0) {
          target = *reinterpret_cast<const RECT*>(lparam);
        } else {
          // No suggestion: the new size about the old centre.
          RECT now = {};
          GetWindowRect(window_, &now);
          target.left = (now.left + now.right - layout_.window_width) / 2;
          target.top = (now.top + now.bottom - layout_.window_height) / 2;
          target.right = target.left + layout_.window_width;
          target.bottom = target.top + layout_.window_height;
        }
        SetWindowPos(window_, nullptr, target.left, target.top, target.right - target.left,
                     target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE);
        *result = 0;
        return true;
      }
      case WM_CTLCOLORSTATIC: {
        // Labels and the trackbars' backgrounds: light text on black.
        HDC dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, LabelColour());
        SetBkColor(dc, RGB(0, 0, 0));
        *result = reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
        return true;
      }
      case WM_HSCROLL: {
        const int index = SliderIndex(reinterpret_cast<HWND>(lparam));
        if (index < 0) return false;
        auto pos = static_cast<int>(SendMessageA(reinterpret_cast<HWND>(lparam), TBM_GETPOS, 0, 0));
        form_.SetSliderPosition(index, pos);
        SyncSliders();
        *result = 0;
        return true;
      }
      case WM_COMMAND:
        if (HIWORD(wparam) != BN_CLICKED) return false;
        if (LOWORD(wparam) == kSaveButtonId) form_.BitBtn1Click();
        if (LOWORD(wparam) == kSiteButtonId) form_.BitBtn2Click();
        *result = 0;
        return true;
      default:
        return false;
    }
  }

  void Layout() override {
    FitScene();
    SyncSliders();
  }

  void BeforeSwap() override {
    if (!present_by_gdi_ || scene_ == nullptr) return;
    RECT r = {};
    GetClientRect(scene_, &r);
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
    HDC dc = GetDCEx(window_, nullptr, DCX_CACHE);
    if (dc == nullptr) return;
    POINT origin = {0, 0};
    MapWindowPoints(scene_, window_, &origin, 1);
    SetDIBitsToDevice(dc, origin.x, origin.y, static_cast<DWORD>(width), static_cast<DWORD>(height),
                      0, 0, 0, static_cast<UINT>(height), pixels_.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(window_, dc);
  }

 private:
  // Created in their tab order (the six sliders, then the two buttons),
  // which is the order Tab walks; labels take no stop.
  void CreateChildren(HINSTANCE instance) {
    for (std::size_t i = 0; i < kSliders.size(); ++i) {
      const SliderSpec& s = kSliders[i];
      labels_[i] = CreateWindowExA(0, "STATIC", s.label, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0,
                                   0, window_, nullptr, instance, nullptr);
      HWND slider = CreateWindowExA(
          0, TRACKBAR_CLASSA, "",
          WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, 0, 0, 0, 0,
          window_,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstSliderId + static_cast<int>(i))),
          instance, nullptr);
      if (slider != nullptr) {
        SendMessageA(slider, TBM_SETRANGE, FALSE, MAKELPARAM(s.min, s.max));
        SendMessageA(slider, TBM_SETTICFREQ, 1, 0);
        SendMessageA(slider, TBM_SETPOS, TRUE, s.design);
      }
      sliders_[i] = slider;
    }
    int b = 0;
    for (const auto& [spec, id] : {std::pair<ButtonSpec, int>{kSaveButton, kSaveButtonId},
                                   std::pair<ButtonSpec, int>{kSiteButton, kSiteButtonId}}) {
      buttons_[b++] = CreateWindowExA(
          0, "BUTTON", spec.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
          window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    }
    PlaceChildren();
  }

  // Positions, sizes and the font of the controls at the layout's DPI.
  void PlaceChildren() {
    HFONT old_font = font_;
    font_ = CreateFontA(-layout_.font_height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    auto place = [&](HWND control, const LayoutRect& r, bool with_font) {
      if (control == nullptr) return;
      SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      if (with_font && font_ != nullptr) {
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
      }
    };
    for (std::size_t i = 0; i < kSliders.size(); ++i) {
      place(labels_[i], layout_.labels[i], true);
      place(sliders_[i], layout_.sliders[i], false);
    }
    place(buttons_[0], layout_.save_button, true);
    place(buttons_[1], layout_.site_button, true);
    if (old_font != nullptr) DeleteObject(old_font);
  }

  // The model owns the positions (it clamps and decides whether a change
  // happened); the native controls only show them.
  void SyncSliders() {
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
      if (sliders_[i] == nullptr) continue;
      LRESULT shown = SendMessageA(sliders_[i], TBM_GETPOS, 0, 0);
      int wanted = form_.SliderPosition(static_cast<int>(i));
      if (shown != wanted) SendMessageA(sliders_[i], TBM_SETPOS, TRUE, wanted);
    }
  }

  int SliderIndex(HWND control) const {
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
      if (sliders_[i] == control) return static_cast<int>(i);
    }
    return -1;
  }

  // Keeps the scene child over the part of the client area above the
  // controls, and shifts the viewport that the form set in client-area
  // pixels into the child's own, so the picture lands where it would on the
  // window itself.
  void FitScene() {
    if (scene_ == nullptr) return;
    RECT client = {};
    GetClientRect(window_, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    int scene_height = height - layout_.scene_bottom;
    // The first row of controls, which the scene must not cover.
    const int controls_top = layout_.labels[0].top;
    if (scene_height > controls_top) scene_height = controls_top;
    if (scene_height < 0) scene_height = 0;
    SetWindowPos(scene_, nullptr, 0, 0, width, scene_height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (!gl_->has_context()) return;
    RECT outer = {};
    GetWindowRect(window_, &outer);
    gl_->Sink().Viewport(0, layout_.scene_bottom - (height - scene_height),
                         outer.right - outer.left,
                         outer.bottom - outer.top - layout_.scene_height_loss);
  }

  TForm2& form_;
  const bool present_by_gdi_;
  HWND window_ = nullptr;
  HWND scene_ = nullptr;
  WglWindow* gl_ = nullptr;
  SettingsLayout layout_;
  std::array<HWND, kSliders.size()> sliders_{};
  std::array<HWND, kSliders.size()> labels_{};
  std::array<HWND, 2> buttons_{};
  // The control that has (or last had) the keyboard.
  HWND focused_ = nullptr;
  HFONT font_ = nullptr;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace

std::unique_ptr<Win32Controls> MakeSettingsControls(TForm2& form) {
  return std::make_unique<TrackbarControls>(form);
}

}  // namespace qv
