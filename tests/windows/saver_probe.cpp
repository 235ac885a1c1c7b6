// Drives quorvelian.scr from inside Windows (Wine) the way a user and the
// system would: starts it, finds its windows, reads its controls and message
// boxes, moves the cursor, presses keys, and watches the process end.
//
//   qv_saver_probe <path to .scr> <scenario> [handshake folder]
//
// With a handshake folder, the probe creates <folder>\shot.want once the
// window is drawing and waits for <folder>\shot.done, so that the test script
// can take a screenshot of the real screen in between.
// Exit code 0 when every expectation held; each failure is printed.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int failures = 0;

void Expect(bool ok, const std::string& what) {
  if (!ok) {
    std::printf("FAIL: %s\n", what.c_str());
    ++failures;
  }
  std::fflush(stdout);
}

struct Saver {
  PROCESS_INFORMATION pi = {};
  bool started = false;

  ~Saver() {
    if (!started) return;
    // A saver that outlived its scenario is a failure already reported;
    // never leave it behind for the next one.
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }

  bool Running() const { return WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; }

  // true when it ended within `ms`; its exit code in `code`.
  bool Ends(DWORD ms, DWORD& code) const {
    if (WaitForSingleObject(pi.hProcess, ms) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(pi.hProcess, &code);
    return true;
  }
};

bool Start(Saver& saver, const std::string& scr, const std::string& arguments) {
  std::string command = "\"" + scr + "\"";
  if (!arguments.empty()) command += " " + arguments;
  STARTUPINFOA si = {};
  si.cb = sizeof(si);
  // Started from the current folder, as the control panel would start it
  // from wherever it happens to be.
  saver.started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &si, &saver.pi) != FALSE;
  Expect(saver.started, "the saver starts: " + command);
  return saver.started;
}

// Pumps our own (absent) windows' messages while waiting, so that the
// system never considers the probe hung.
void Wait(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

bool OwnedBy(HWND window, const Saver& saver) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid == saver.pi.dwProcessId;
}

// A visible top-level window of the saver with this class (or any class,
// nullptr) and caption.
HWND WaitWindow(const Saver& saver, const char* window_class, const char* caption, DWORD ms) {
  DWORD end = GetTickCount() + ms;
  do {
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, window_class, caption)) != nullptr) {
      if (OwnedBy(found, saver) && IsWindowVisible(found)) return found;
    }
    if (!saver.Running()) return nullptr;
    Wait(50);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
  return nullptr;
}

std::string Text(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

struct Rect {
  int left, top, width, height;
};

Rect WindowRect(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::string Show(const Rect& r) {
  return std::to_string(r.width) + "x" + std::to_string(r.height) + " at " +
         std::to_string(r.left) + "," + std::to_string(r.top);
}

bool Same(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// The screenshot step of the test script.
void Handshake(const char* folder) {
  if (folder == nullptr) return;
  const std::string want = std::string(folder) + "\\shot.want";
  const std::string done = std::string(folder) + "\\shot.done";
  HANDLE f = CreateFileA(want.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  DWORD end = GetTickCount() + 20000;
  while (GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (static_cast<LONG>(end - GetTickCount()) <= 0) {
      Expect(false, "the test script took its screenshot");
      return;
    }
    Wait(50);
  }
}

void PressKey(WORD vk) {
  INPUT input[2] = {};
  input[0].type = INPUT_KEYBOARD;
  input[0].ki.wVk = vk;
  input[1] = input[0];
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

void MoveCursor(int x, int y) {
  // Wine applies the move through the X server, and on a loaded machine a
  // motion event from before it can still put the cursor back: the place
  // counts once it has held for a few looks in a row.
  int held = 0;
  for (int tries = 0; tries < 60 && held < 3; ++tries) {
    POINT p{};
    if (GetCursorPos(&p) && p.x == x && p.y == y) {
      ++held;
    } else {
      held = 0;
      SetCursorPos(x, y);
    }
    Wait(50);
  }
}

void ExpectEnds(const Saver& saver, DWORD ms, const std::string& what) {
  DWORD code = 0;
  bool ended = saver.Ends(ms, code);
  Expect(ended, what + ": the saver ends");
  if (ended) Expect(code == 0, what + ": exit code 0, not " + std::to_string(code));
}

void ExpectRuns(const Saver& saver, DWORD ms, const std::string& what) {
  Wait(ms);
  Expect(saver.Running(), what + ": the saver goes on");
}

// The settings window's trackbars in their table order (column by column,
// top row first), with the labels found beside them.
struct Slider {
  int left, top, min, max, pos;
};

std::vector<Slider> Sliders(HWND window) {
  std::vector<Slider> sliders;
  for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    if (ClassOf(c).find("msctls_trackbar32") == std::string::npos) continue;
    POINT p = {0, 0};
    MapWindowPoints(c, window, &p, 1);
    sliders.push_back(Slider{p.x, p.y, static_cast<int>(SendMessageA(c, TBM_GETRANGEMIN, 0, 0)),
                             static_cast<int>(SendMessageA(c, TBM_GETRANGEMAX, 0, 0)),
                             static_cast<int>(SendMessageA(c, TBM_GETPOS, 0, 0))});
  }
  std::sort(sliders.begin(), sliders.end(), [](const Slider& a, const Slider& b) {
    return a.left != b.left ? a.left < b.left : a.top < b.top;
  });
  return sliders;
}

void ExpectSliders(HWND window, const std::array<int, 6>& positions) {
  // Ranges and client positions of "Speed", "Brightness", "Satiation",
  // "Size", "Primitive", "Color".
  const std::array<Slider, 6> expected = {{{3, 320, 0, 10, 0},
                                           {3, 357, 0, 10, 0},
                                           {128, 320, 2, 10, 0},
                                           {128, 357, 0, 14, 0},
                                           {256, 320, 0, 10, 0},
                                           {256, 357, 1, 9, 0}}};
  std::vector<Slider> sliders = Sliders(window);
  Expect(sliders.size() == 6, "six trackbars, found " + std::to_string(sliders.size()));
  for (std::size_t i = 0; i < std::min<std::size_t>(6, sliders.size()); ++i) {
    const Slider& s = sliders[i];
    const Slider& e = expected[i];
    const std::string name = "trackbar " + std::to_string(i + 1);
    Expect(s.left == e.left && s.top == e.top,
           name + " sits at " + std::to_string(e.left) + "," + std::to_string(e.top) + ", not " +
               std::to_string(s.left) + "," + std::to_string(s.top));
    Expect(s.min == e.min && s.max == e.max,
           name + " range " + std::to_string(e.min) + ".." + std::to_string(e.max) + ", not " +
               std::to_string(s.min) + ".." + std::to_string(s.max));
    Expect(s.pos == positions[i],
           name + " at " + std::to_string(positions[i]) + ", not " + std::to_string(s.pos));
  }
}

void ExpectCaptions(HWND window) {
  std::vector<std::string> texts;
  for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    texts.push_back(Text(c));
  }
  for (const char* wanted : {"Speed", "Brightness", "Satiation", "Size", "Primitive", "Color",
                             "Save Settings", "Our Site"}) {
    Expect(std::find(texts.begin(), texts.end(), wanted) != texts.end(),
           std::string("a control reads \"") + wanted + "\"");
  }
}

HWND ChildWithText(HWND window, const char* text) {
  for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    if (Text(c) == text) return c;
  }
  return nullptr;
}

int Centred(int screen, int size) {
  // Halves go to the even neighbour; both screen sizes here are even anyway.
  return (screen - size) / 2;
}

// --- scenarios ---------------------------------------------------------

// First run of the settings window: its size, place and controls, the
// defaults on the sliders, the scene, and Escape.
void Settings(const std::string& scr, const char* folder) {
  Saver saver;
  if (!Start(saver, scr, "/c")) return;
  HWND w = WaitWindow(saver, nullptr, "Quorvelian Settings", 20000);
  Expect(w != nullptr, "a window \"Quorvelian Settings\" appears");
  if (w == nullptr) return;
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  const Rect r = WindowRect(w);
  Expect(Same(r, Rect{Centred(sw, 400), Centred(sh, 440), 400, 440}),
         "the settings window is 400x440, centred: " + Show(r));
  LONG style = GetWindowLongA(w, GWL_STYLE);
  Expect((style & WS_MAXIMIZEBOX) == 0 && (style & WS_MINIMIZEBOX) != 0 &&
             (style & WS_THICKFRAME) != 0,
         "sizeable, minimise box, no maximise box");
  ExpectCaptions(w);
  ExpectSliders(w, {3, 10, 5, 12, 0, 7});
  // Where the script looks on its screenshot: the scene above the controls
  // and the "Speed" label (client 17, 300, 51 x 20).
  POINT origin = {0, 0};
  ClientToScreen(w, &origin);
  RECT client = {};
  GetClientRect(w, &client);
  std::printf("region scene %ldx%d+%ld+%ld\n", client.right, 290, origin.x, origin.y + 5);
  std::printf("region label %dx%d+%ld+%ld\n", 51, 20, origin.x + 17, origin.y + 300);
  std::fflush(stdout);
  Wait(1500);
  Handshake(folder);
  SetForegroundWindow(w);
  Wait(200);
  PressKey(VK_ESCAPE);
  ExpectEnds(saver, 5000, "Escape in the settings window");
}

// Hand-edited values outside the ranges: the sliders show them clamped, and
// "Save Settings" writes the positions back with "Clock" untouched.
void SettingsSave(const std::string& scr) {
  Saver saver;
  if (!Start(saver, scr, "/c")) return;
  HWND w = WaitWindow(saver, nullptr, "Quorvelian Settings", 20000);
  Expect(w != nullptr, "a window \"Quorvelian Settings\" appears");
  if (w == nullptr) return;
  // Stored by the script: Fast 25, Bright 4, Satiation 0, Size -3, Snow 9,
  // Frame 12, Clock 99. Fast and Frame are clamped to 10 and 9; Satiation and
  // Size clamp to the design positions 2 and 0.
  ExpectSliders(w, {10, 4, 2, 0, 9, 9});
  HWND save = ChildWithText(w, "Save Settings");
  Expect(save != nullptr, "a \"Save Settings\" button");
  if (save != nullptr) SendMessageA(save, BM_CLICK, 0, 0);
  Wait(300);
  Expect(saver.Running(), "saving does not end the window");
  PostMessageA(w, WM_CLOSE, 0, 0);
  ExpectEnds(saver, 5000, "the settings window's close box");
}

// First run of the saver proper: full screen, top-most, the 5-pixel
// tolerance on each axis, then a larger movement.
void FullScreenMouse(const std::string& scr, const char* folder) {
  MoveCursor(500, 400);
  Saver saver;
  if (!Start(saver, scr, "/s")) return;
  HWND w = WaitWindow(saver, nullptr, "Quorvelian ScreenSaver", 20000);
  Expect(w != nullptr, "a window \"Quorvelian ScreenSaver\" appears");
  if (w == nullptr) return;
  const Rect r = WindowRect(w);
  Expect(Same(r, Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}),
         "the saver covers the screen: " + Show(r));
  Expect((GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "the saver stays on top");
  Expect((GetWindowLongA(w, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME)) == 0,
         "the saver has no border");
  Wait(1500);
  Handshake(folder);
  MoveCursor(505, 405);
  ExpectRuns(saver, 1000, "a 5-pixel move right and down");
  MoveCursor(495, 395);
  ExpectRuns(saver, 1000, "a 5-pixel move left and up");
  MoveCursor(500, 400);
  ExpectRuns(saver, 500, "back to the start");
  MoveCursor(500, 406);
  ExpectEnds(saver, 5000, "a 6-pixel move down");
}

// Any key ends the saver when no password stands in the way; with
// `refused` the (refusing) system password library keeps it running until
// the system itself closes it.
void FullScreenKey(const std::string& scr, bool refused) {
  MoveCursor(300, 300);
  Saver saver;
  if (!Start(saver, scr, "/s")) return;
  HWND w = WaitWindow(saver, nullptr, "Quorvelian ScreenSaver", 20000);
  Expect(w != nullptr, "a window \"Quorvelian ScreenSaver\" appears");
  if (w == nullptr) return;
  Wait(1000);
  PressKey('Q');
  if (!refused) {
    ExpectEnds(saver, 5000, "a key press");
    return;
  }
  ExpectRuns(saver, 1500, "a key press with the password refused");
  MoveCursor(400, 300);
  ExpectRuns(saver, 1500, "a large move with the password refused");
  PressKey('Q');
  ExpectRuns(saver, 1000, "a second key press with the password refused");
  // The system's own close request skips the password.
  PostMessageA(w, WM_CLOSE, 0, 0);
  ExpectEnds(saver, 5000, "WM_CLOSE from the system");
}

// "Clock" deleted by hand: the error box, then the window at its design size.
void ClockMissing(const std::string& scr, bool settings_window) {
  // The abandoned creation never took the start cursor position, so it stays
  // at 0, 0: any mouse message with the cursor farther than 5 pixels would
  // end the saver at once, and one comes whenever a window appears under the
  // cursor. (0, 0) itself would not move it: Wine skips a move to where it
  // believes the cursor already is.
  MoveCursor(2, 3);
  Saver saver;
  if (!Start(saver, scr, settings_window ? "/c" : "/s")) return;
  HWND box = WaitWindow(saver, "#32770", "Quorvelian", 20000);
  Expect(box != nullptr, "an error box titled \"Quorvelian\" appears");
  if (box != nullptr) {
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));  // the message box's text control
    Expect(std::string(text) == "Failed to get data for 'Clock'",
           std::string("the error box reads \"Failed to get data for 'Clock'\", not \"") + text +
               "\"");
    HWND ok = GetDlgItem(box, IDOK);
    Expect(ok != nullptr, "the error box has an OK button");
    if (ok != nullptr) SendMessageA(ok, BM_CLICK, 0, 0);
  }
  const char* caption = settings_window ? "Quorvelian Settings" : "Quorvelian ScreenSaver";
  HWND w = WaitWindow(saver, nullptr, caption, 10000);
  Expect(w != nullptr, std::string("the window \"") + caption + "\" still opens");
  if (w == nullptr) {
    DWORD code = 0;
    if (saver.Ends(0, code)) std::printf("  the saver ended with %lu\n", code);
    return;
  }
  const Rect r = WindowRect(w);
  // The rest of the creation was abandoned: the design place and size.
  const Rect design = settings_window ? Rect{320, 142, 414, 440} : Rect{229, 147, 640, 480};
  Expect(Same(r, design), "the window keeps its design place and size: " + Show(r));
  if (settings_window) ExpectSliders(w, {7, 7, 2, 0, 0, 2});
  Wait(500);
  ExpectRuns(saver, 500, "after the error box");
  if (settings_window) {
    SetForegroundWindow(w);
    Wait(200);
    PressKey(VK_ESCAPE);
  } else {
    PressKey('Q');
  }
  ExpectEnds(saver, 5000, "the key after the error box");
}

// /p without a usable handle: a small top-most pop-up that a key ends and
// the mouse does not.
void PreviewPopup(const std::string& scr, const char* arguments) {
  Saver saver;
  if (!Start(saver, scr, arguments)) return;
  HWND w = WaitWindow(saver, nullptr, "ZiZoved", 20000);
  Expect(w != nullptr, "a window \"ZiZoved\" appears");
  if (w == nullptr) return;
  LONG style = GetWindowLongA(w, GWL_STYLE);
  Expect((style & WS_POPUP) != 0 && (style & WS_CHILD) == 0, "the preview is a pop-up");
  Expect((GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "the pop-up is top-most");
  Expect(GetParent(w) == nullptr, "the pop-up has no parent");
  SetForegroundWindow(w);
  Wait(500);
  const Rect r = WindowRect(w);
  MoveCursor(r.left + 10, r.top + 10);
  MoveCursor(r.left + 60, r.top + 60);
  ExpectRuns(saver, 800, "mouse moves over the pop-up");
  PressKey('Q');
  ExpectEnds(saver, 5000, "a key in the pop-up");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: qv_saver_probe <scr> <scenario> [handshake folder]\n");
    return 2;
  }
  const std::string scr = argv[1];
  const std::string scenario = argv[2];
  const char* folder = argc > 3 ? argv[3] : nullptr;
  if (scenario == "settings") {
    Settings(scr, folder);
  } else if (scenario == "settings-save") {
    SettingsSave(scr);
  } else if (scenario == "fullscreen-mouse") {
    FullScreenMouse(scr, folder);
  } else if (scenario == "fullscreen-key") {
    FullScreenKey(scr, false);
  } else if (scenario == "fullscreen-refused") {
    FullScreenKey(scr, true);
  } else if (scenario == "clock-missing-s") {
    ClockMissing(scr, false);
  } else if (scenario == "clock-missing-c") {
    ClockMissing(scr, true);
  } else if (scenario == "preview-popup") {
    PreviewPopup(scr, "/p");
  } else if (scenario == "preview-garbage") {
    PreviewPopup(scr, "/p 12ab");
  } else {
    std::printf("unknown scenario %s\n", scenario.c_str());
    return 2;
  }
  std::printf("%s: %d failure(s)\n", failures == 0 ? "ok" : "FAILED", failures);
  return failures == 0 ? 0 : 1;
}
