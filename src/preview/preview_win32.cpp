// The control panel's preview on Win32: a plain window inside the host's
// preview area (or a small top-most pop-up without one), painted by the main
// thread, paced by a render thread.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/shells_win32.h"
#include "gl/opengl_headers.h"
#include "gl/wgl_host_win32.h"
#include "preview/preview.h"

namespace qv {
namespace {

constexpr const char* kClassName = "QuorvelianPreview";
// Set by the end-to-end tests: under Wine a GL child window of a foreign
// window renders off screen, so the drawn pixels can only be seen from here.
constexpr const char* kPixelReportVariable = "QUORVELIAN_PREVIEW_PIXEL_REPORT";

// Counts the lit pixels of every frame's back buffer into a small text file
// when the tests ask for it; otherwise a plain WGL host.
class PreviewHost final : public WglWindowHost {
 public:
  explicit PreviewHost(SceneState& scene) : WglWindowHost(scene) {
    if (const char* path = std::getenv(kPixelReportVariable)) report_path_ = path;
  }

 protected:
  void BeforeSwap() override {
    if (report_path_.empty()) return;
    int width = ClientWidth();
    int height = ClientHeight();
    if (width <= 0 || height <= 0) return;
    pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels_.data());
    long lit = 0;
    for (std::size_t i = 0; i < pixels_.size(); i += 4) {
      if (pixels_[i] > 8 || pixels_[i + 1] > 8 || pixels_[i + 2] > 8) ++lit;
    }
    ++frames_;
    if (FILE* f = std::fopen(report_path_.c_str(), "w")) {
      std::fprintf(f, "frames %ld lit %ld size %d %d\n", frames_, lit, width, height);
      std::fclose(f);
    }
  }

 private:
  std::string report_path_;
  std::vector<unsigned char> pixels_;
  long frames_ = 0;
};

struct PreviewShell {
  PreviewHost host;
  PreviewScene preview;
  HWND window = nullptr;

  PreviewShell(SceneState& scene, GeometryStore& store) : host(scene), preview(scene, store) {}
};

LRESULT CALLBACK PreviewWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return 1;
  }
  auto* shell = reinterpret_cast<PreviewShell*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT:
      if (shell != nullptr) shell->preview.DrawPreviewFrame(shell->host);
      ValidateRect(window, nullptr);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_KEYDOWN:
      if (shell != nullptr) shell->preview.KeyDown(shell->host);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

DWORD WINAPI PreviewRenderThread(LPVOID parameter) {
  auto* shell = static_cast<PreviewShell*>(parameter);
  RECT r = {};
  GetWindowRect(shell->window, &r);
  shell->preview.Prepare(r.right - r.left, r.bottom - r.top);
  ShowWindow(shell->window, SW_SHOW);
  UpdateWindow(shell->window);
  while (true) {
    InvalidateRect(shell->window, nullptr, FALSE);
    Sleep(kPreviewIntervalMs);
    if (shell->preview.PreviewStop.load()) break;
  }
  PostMessageA(shell->window, WM_DESTROY, 0, 0);
  return 0;
}

HWND CreatePreviewWindow(HINSTANCE instance, PreviewShell& shell, HWND parent) {
  WNDCLASSA wc = {};
  wc.style = CS_PARENTDC;
  wc.lpfnWndProc = PreviewWndProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);

  HWND window = nullptr;
  if (parent != nullptr) {
    RECT r = {};
    GetWindowRect(parent, &r);
    window = CreateWindowExA(0, kClassName, kPreviewCaption, WS_CHILD | WS_VISIBLE | WS_DISABLED, 0,
                             0, r.right - r.left, r.bottom - r.top, parent, nullptr, instance,
                             &shell);
  } else {
    window = CreateWindowExA(0, kClassName, kPreviewCaption, WS_POPUP | WS_VISIBLE, 0, 0,
                             kPreviewPopupWidth, kPreviewPopupHeight, nullptr, nullptr, instance,
                             &shell);
    if (window != nullptr) {
      SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
    }
  }
  // WM_NCCREATE answers without the default procedure, which is what would
  // have stored the caption; give the window its name explicitly.
  if (window != nullptr) SetWindowTextA(window, kPreviewCaption);
  return window;
}

}  // namespace

int RunPreviewWindow(HINSTANCE instance, SceneState& scene, GeometryStore& store,
                     std::int32_t parent_handle) {
  // Handles are 32-bit values even in a 64-bit process; sign extension is
  // how Windows widens them.
  auto parent = reinterpret_cast<HWND>(static_cast<INT_PTR>(parent_handle));
  // A stale or garbage handle from the command line gets the pop-up, not a
  // child of nothing.
  if (parent != nullptr && !IsWindow(parent)) parent = nullptr;

  auto shell = std::make_unique<PreviewShell>(scene, store);
  shell->window = CreatePreviewWindow(instance, *shell, parent);
  if (shell->window == nullptr) return 1;
  shell->host.Attach(shell->window);

  HANDLE thread = CreateThread(nullptr, 0, PreviewRenderThread, shell.get(), 0, nullptr);
  if (thread == nullptr) return 1;

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // The render thread still uses the shell: stop it before the shell goes.
  // Should it hang in a call to a window that is gone, end the process
  // rather than free memory under it.
  shell->preview.PreviewStop.store(true);
  if (WaitForSingleObject(thread, 1000) != WAIT_OBJECT_0) ExitProcess(0);
  CloseHandle(thread);
  return 0;
}

}  // namespace qv
