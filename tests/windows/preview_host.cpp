// Plays the display control panel: makes a window, starts the saver with
// /p <handle>, checks that the preview lives inside it, destroys the window
// and expects the saver to be gone within a second.
//
//   qv_preview_host <path to .scr> <seconds to let it draw>
// Exit code 0 when every check held; the reason of a failure on stderr.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kHostWidth = 152;
constexpr int kHostHeight = 112;

int Fail(const char* what) {
  std::fprintf(stderr, "preview host: %s\n", what);
  std::fflush(stderr);
  return 1;
}

void Pump(DWORD milliseconds) {
  DWORD end = GetTickCount() + milliseconds;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return Fail("usage: qv_preview_host <scr> <seconds>");
  const std::string scr = __argv[1];
  const DWORD draw_ms = static_cast<DWORD>(std::atoi(__argv[2])) * 1000;

  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = "QvPreviewHost";
  RegisterClassA(&wc);
  HWND host = CreateWindowExA(0, wc.lpszClassName, "Preview host", WS_POPUP | WS_VISIBLE, 40, 40,
                              kHostWidth, kHostHeight, nullptr, nullptr, instance, nullptr);
  if (host == nullptr) return Fail("cannot create the host window");
  Pump(200);

  // Handles travel as decimal text, exactly as the control panel passes them.
  std::string command = "\"" + scr + "\" /p " +
                        std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(host)));
  STARTUPINFOA si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    return Fail("cannot start the saver");
  }
  CloseHandle(pi.hThread);
  Pump(draw_ms);

  int failures = 0;
  if (WaitForSingleObject(pi.hProcess, 0) != WAIT_TIMEOUT) {
    return Fail("the saver ended before its host window was destroyed");
  }
  HWND child = FindWindowExA(host, nullptr, "QuorvelianPreview", nullptr);
  if (child == nullptr) {
    failures += Fail("no preview window inside the host window");
  } else {
    RECT r = {};
    GetWindowRect(child, &r);
    if (r.right - r.left != kHostWidth || r.bottom - r.top != kHostHeight) {
      failures += Fail("the preview window does not fill the host window");
    }
    char caption[32] = {};
    GetWindowTextA(child, caption, sizeof(caption));
    if (std::string(caption) != "ZiZoved") failures += Fail("the preview window's caption is wrong");
    LONG style = GetWindowLongA(child, GWL_STYLE);
    if ((style & WS_CHILD) == 0 || (style & WS_DISABLED) == 0) {
      failures += Fail("the preview window is not a disabled child");
    }
  }

  DestroyWindow(host);
  DWORD started = GetTickCount();
  DWORD waited = WaitForSingleObject(pi.hProcess, 1000);
  if (waited != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 99);
    failures += Fail("the saver still runs a second after its host window went away");
  } else {
    std::printf("preview host: saver ended %lu ms after the host window\n",
                static_cast<unsigned long>(GetTickCount() - started));
    std::fflush(stdout);
  }
  CloseHandle(pi.hProcess);
  return failures == 0 ? 0 : 1;
}
