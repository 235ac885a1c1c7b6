#include "platform/sdl/run_loop_sdl.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/driver.h"
#include "platform/sdl/desktop_services.h"
#include "platform/sdl/glx_window.h"
#include "platform/sdl/monitor_covers_sdl.h"
#include "platform/sdl/sdl_window.h"
#include "platform/sdl/stop_signals.h"

namespace qv {

namespace {

// Longest wait before the loop looks at the stop request again, for waits
// that a signal caught by another thread does not interrupt.
constexpr int kStopCheckMs = 100;
// A loop without a timer only waits for events and paint requests.
constexpr int kIdleWaitMs = 1000;

// A periodic timer on the loop: ticks that fall due while a frame is still
// running are merged into one, as a window-system timer does.
class Ticker {
 public:
  using Clock = std::chrono::steady_clock;
  explicit Ticker(int interval_ms)
      : interval_(interval_ms), next_(Clock::now() + std::chrono::milliseconds(interval_ms)) {}

  int WaitMs() const {
    if (interval_ <= 0) return kIdleWaitMs;
    // Rounded up: a wait rounded down to 0 ms before the tick is due would
    // spin the loop for the rest of that millisecond.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(next_ - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
  }
  bool Due() const { return interval_ > 0 && Clock::now() >= next_; }
  void Fired() {
    const auto now = Clock::now();
    next_ += std::chrono::milliseconds(interval_);
    if (next_ <= now) next_ = now + std::chrono::milliseconds(interval_);
  }

 private:
  int interval_;
  Clock::time_point next_;
};

[[noreturn]] int LostDisplay(Display*) {
  // Xlib calls this once the server has gone; nothing drawn or owned by
  // the server can be saved, and the process must not run on.
  std::fprintf(stderr, "quorvelian: lost the connection to the X display\n");
  std::fflush(stderr);
  _exit(1);
}

std::string DisplayName() {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || name[0] == '\0') return {};
  return name;
}

void CannotOpenDisplay(const std::string& reason) {
  const std::string name = DisplayName();
  if (name.empty()) {
    std::fprintf(stderr, "cannot open the display: DISPLAY is not set (%s)\n", reason.c_str());
  } else {
    std::fprintf(stderr, "cannot open the display \"%s\": %s\n", name.c_str(), reason.c_str());
  }
}

bool IsRealDriver(const char* name) {
  const std::string n = name != nullptr ? name : "";
  return n == "x11" || n == "wayland";
}

// SDL falls back to drivers that draw nowhere (offscreen, dummy) when no
// display opens; a saver that nobody sees must stop instead. Wayland only
// for windows that are not the full-screen saver, and only in a Wayland
// session. A server under heavy load may refuse a connection now and then:
// a few tries within a second before giving up.
bool OpenVideo(WindowKind kind) {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  const char* wanted = std::getenv("SDL_VIDEODRIVER");
  const bool chosen = wanted != nullptr && wanted[0] != '\0';
  if (chosen && !IsRealDriver(wanted)) {
    CannotOpenDisplay(std::string("SDL_VIDEODRIVER=") + wanted + " draws nowhere");
    return false;
  }
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const bool wayland_session = wayland != nullptr && wayland[0] != '\0';
  for (const char* driver : {"x11", "wayland"}) {
    const bool x11 = std::string(driver) == "x11";
    if (chosen && std::string(wanted) != driver) continue;
    if (!x11 && (!wayland_session || kind == WindowKind::kFullScreen)) continue;
    if (x11 && DisplayName().empty()) continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    for (int i = 0; i < (x11 ? 4 : 1) && !StopRequested(); ++i) {
      if (i > 0) SDL_Delay(200);
      if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        if (IsRealDriver(SDL_GetCurrentVideoDriver())) return true;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
      }
    }
  }
  // Asked to stop while trying, there is nothing to report.
  if (StopRequested()) return false;
  CannotOpenDisplay(DisplayName().empty() ? "no X or Wayland display to draw on"
                                          : "no X server accepts connections there");
  return false;
}

// Asked to stop, the program ends normally whatever went wrong before (a
// failed graphics set-up whose box was up when the signal came).
int ExitCode(bool failed) {
  return StopRequested() || !failed ? 0 : 1;
}

void StartUp() {
  CatchStopSignals();
  XSetIOErrorHandler(LostDisplay);
}

// --- our own window --------------------------------------------------------

void Dispatch(SdlWindow& w, Driver& d, const SDL_Event& e) {
  if (w.controls() != nullptr) w.controls()->Event(e);
  switch (e.type) {
    case SDL_QUIT:
      d.Close();
      break;
    case SDL_WINDOWEVENT:
      if (e.window.windowID != w.window_id()) break;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          d.Close();
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          d.Resize();
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          d.FocusLost();
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          d.FocusGained();
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN:
      // SDL's key codes for Escape and the other ASCII keys are the
      // characters themselves, which is what the front-ends compare against.
      d.Key(static_cast<int>(e.key.keysym.sym));
      break;
    case SDL_MOUSEMOTION:
      d.MouseMove();
      break;
    default:
      if (e.type == w.request_event() && w.TakePaintRequest()) d.Paint();
      break;
  }
}

// Start-up takes long steps (the GL driver, the geometry): a stop signal
// is looked at between them, as the loop looks at it between frames.
void Begin(SdlWindow& w, Driver& d, DesktopServices& services) {
  if (StopRequested()) return;
  d.Create();
  if (d.ended() || StopRequested()) return;
  const int width = w.OuterWidth(), height = w.OuterHeight();
  w.Show();
  services.SetBoxOwner(w.x_window());
  // A window manager may give the window another size when it maps it.
  if (w.OuterWidth() != width || w.OuterHeight() != height) d.Resize();
  d.Activate();
}

void WaitAndDispatch(SdlWindow& w, Driver& d, int wait_ms) {
  SDL_Event e;
  if (SDL_WaitEventTimeout(&e, std::min(wait_ms, kStopCheckMs)) == 0) return;
  Dispatch(w, d, e);
  while (!d.ended() && SDL_PollEvent(&e) != 0) Dispatch(w, d, e);
}

void Tick(SdlWindow& w, Driver& d) {
  SdlControls* controls = w.has_context() ? w.controls() : nullptr;
  if (controls != nullptr) controls->BeginFrame();
  d.Tick();
  if (controls != nullptr) controls->EndFrame();
}

// --- someone else's window ---------------------------------------------------

void Begin(GlxWindow&, Driver& d, DesktopServices&) {
  if (StopRequested()) return;
  d.Create();
  if (!StopRequested()) d.Activate();
}

void Pumped(GlxWindow& w, Driver& d) {
  bool resized = false;
  if (!w.Pump(&resized)) {
    // The owner destroying its window is the usual end of a module.
    d.Close();
    return;
  }
  if (resized) d.Resize();
  if (w.TakePaintRequest()) d.Paint();
}

void WaitAndDispatch(GlxWindow& w, Driver& d, int wait_ms) {
  Pumped(w, d);
  if (d.ended()) return;
  pollfd fds[2] = {{ConnectionNumber(w.display()), POLLIN, 0}, {WakeFd(), POLLIN, 0}};
  poll(fds, WakeFd() >= 0 ? 2 : 1, wait_ms);
  DrainWake();
  Pumped(w, d);
}

void Tick(GlxWindow&, Driver& d) {
  d.Tick();
}

// --- the loop ------------------------------------------------------------------

template <class W>
void Loop(W& window, Driver& driver, DesktopServices& services, int timer_interval_ms) {
  Begin(window, driver, services);
  Ticker timer(timer_interval_ms);
  while (!driver.ended()) {
    if (StopRequested()) {
      driver.Close();
      break;
    }
    WaitAndDispatch(window, driver, timer.WaitMs());
    driver.Settle();
    if (driver.ended() || StopRequested()) continue;
    if (timer.Due()) {
      timer.Fired();
      Tick(window, driver);
    }
  }
}

int RunInXWindow(const Launch& launch, unsigned long target, bool as_child, const char* caption,
                 const char* failure) {
  StartUp();
  if (StopRequested()) return 0;
  XConnection x;
  if (x.display() == nullptr) {
    CannotOpenDisplay(DisplayName().empty() ? "no X display to draw into"
                                            : "no X server accepts connections there");
    return 1;
  }
  GlxWindow window(x);
  std::string error;
  const bool ok =
      as_child ? window.CreateChild(target, caption, &error) : window.Attach(target, &error);
  if (!ok) {
    std::fprintf(stderr, "quorvelian: %s: %s\n", failure, error.c_str());
    return 1;
  }
  DesktopServices services;
  services.SetBoxOwner(window.window());
  Started started = launch(Host{window, window, services});
  Driver driver(*started.front);
  window.Bind(driver);
  Loop(window, driver, services, started.front->Spec().timer_interval_ms);
  window.ReleaseGraphics();
  return ExitCode(window.graphics_failed());
}

}  // namespace

int RunInOwnWindow(const WindowSpec& spec, const Launch& launch) {
  StartUp();
  if (StopRequested()) return 0;
  if (!OpenVideo(spec.kind)) return ExitCode(true);
  // SDL installs its own handler for a lost connection when its video
  // starts; ours says so in one line and ends.
  XSetIOErrorHandler(LostDisplay);
  int code = 1;
  {
    SdlWindow window;
    if (!StopRequested() && window.Open(spec)) {
      DesktopServices services;
      Started started = launch(Host{window, window, services});
      Driver driver(*started.front);
      window.Bind(driver);
      if (started.controls != nullptr) {
        started.controls->Open(window.window());
        window.SetControls(started.controls.get());
      }
      // The saver blacks out every other display too; their input reaches
      // the driver like the saver window's own.
      SdlMonitorCovers covers;
      if (spec.kind == WindowKind::kFullScreen) {
        const ScreenRect primary{0, 0, window.ScreenWidth(), window.ScreenHeight()};
        covers.Create(PlaceSaverWindows(SdlMonitors(), primary).covers);
      }
      Loop(window, driver, services, spec.timer_interval_ms);
      covers.Destroy();
      window.ReleaseGraphics();
      if (started.controls != nullptr) started.controls->Close();
      window.SetControls(nullptr);
      code = window.graphics_failed() ? 1 : 0;
    }
  }
  SDL_Quit();
  return ExitCode(code != 0);
}

int RunInForeignWindow(unsigned long window, const Launch& launch) {
  return RunInXWindow(launch, window, false, nullptr, "cannot draw into the given window");
}

int RunInsideWindow(unsigned long parent, const char* caption, const Launch& launch) {
  return RunInXWindow(launch, parent, true, caption, "cannot show the preview");
}

}  // namespace qv
