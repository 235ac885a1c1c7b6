// The full-screen saver on Linux: a borderless top-most SDL window of our
// own, or, under XScreenSaver, the window it hands us.

#include <poll.h>

#include <csignal>
#include <cstdio>

#include "app/desktop_host_sdl.h"
#include "app/glx_host_posix.h"
#include "app/shells_sdl.h"
#include "app/tick_timer_sdl.h"
#include "fullscreen/fullscreen.h"

namespace qv {

namespace {

// Written by the signal handler only; a signal is process-wide.
volatile std::sig_atomic_t g_stop_signal = 0;

extern "C" void OnStopSignal(int) { g_stop_signal = 1; }

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: the wait for the next frame should wake up at once.
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

// Design size and place of the window; creation replaces them by the screen.
constexpr int kDesignLeft = 229, kDesignTop = 147, kDesignWidth = 640, kDesignHeight = 480;

int RunOwnWindow(SceneState& scene, GeometryStore& store) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "quorvelian: cannot open the display: %s\n", SDL_GetError());
    return 1;
  }
  SdlWindowHost host;
  if (!host.Open(kFullScreenCaption, kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight,
                 SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP)) {
    return 1;
  }
  TForm1 form(scene, store, host);
  form.FormCreate();
  if (host.close_requested()) form.FormClose();
  if (!host.terminated()) {
    SDL_ShowWindow(host.window());
    SDL_RaiseWindow(host.window());
    // A saver takes the keyboard whether or not a window manager hands
    // focus to new windows.
    SDL_SetWindowInputFocus(host.window());
    form.FormActivate();
  }

  bool focus_lost = false;
  auto handle = [&](const SDL_Event& e) {
    switch (e.type) {
      case SDL_QUIT: form.FormClose(); break;
      case SDL_WINDOWEVENT:
        if (e.window.windowID != host.window_id()) break;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) form.FormClose();
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) form.FormResize();
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) focus_lost = true;
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED && focus_lost) {
          focus_lost = false;
          form.FormActivate();
        }
        break;
      case SDL_KEYDOWN: form.FormKeyDown(); break;
      case SDL_MOUSEMOTION: form.FormMouseMove(); break;
      default: break;
    }
  };

  TickTimer timer(kFrameIntervalMs);
  while (!host.terminated()) {
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, timer.WaitMs()) != 0) {
      handle(e);
      while (!host.terminated() && SDL_PollEvent(&e) != 0) handle(e);
    }
    if (host.close_requested() && !host.terminated()) form.FormClose();
    if (host.terminated()) break;
    if (timer.WaitMs() == 0) {
      timer.Fired();
      form.TimerTimer();
    }
  }
  return host.graphics_failed() ? 1 : 0;
}

int RunInForeignWindow(SceneState& scene, GeometryStore& store, unsigned long window_id) {
  XConnection x;
  if (x.display() == nullptr) {
    std::fprintf(stderr, "quorvelian: cannot open the X display\n");
    return 1;
  }
  GlxWindowHost host(x);
  std::string error;
  if (!host.Attach(window_id, &error)) {
    std::fprintf(stderr, "quorvelian: cannot draw into the given window: %s\n", error.c_str());
    return 1;
  }
  CatchStopSignals();

  TForm1 form(scene, store, host);
  form.FormCreate();
  if (host.close_requested()) form.FormClose();
  if (!host.terminated()) form.FormActivate();

  TickTimer timer(kFrameIntervalMs);
  const int fd = ConnectionNumber(x.display());
  while (!host.terminated()) {
    bool resized = false;
    // The host destroying its window, or asking us to stop, both end the
    // module normally.
    if (g_stop_signal != 0 || !host.Pump(&resized) || host.close_requested()) {
      form.FormClose();
      break;
    }
    if (resized) form.FormResize();
    const int wait = timer.WaitMs();
    if (wait > 0) {
      pollfd p{fd, POLLIN, 0};
      poll(&p, 1, wait);
      continue;
    }
    timer.Fired();
    form.TimerTimer();
  }
  return host.graphics_failed() ? 1 : 0;
}

}  // namespace

int RunFullScreenShell(SceneState& scene, GeometryStore& store, unsigned long window_id) {
  if (window_id != 0) return RunInForeignWindow(scene, store, window_id);
  return RunOwnWindow(scene, store);
}

}  // namespace qv
