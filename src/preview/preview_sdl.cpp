// The control-panel preview on Linux: a child of the host's X window (drawn
// with GLX), or a small top-most SDL pop-up when no host window was given.
// A render thread prepares the scene and asks for a repaint every 40 ms; the
// main thread paints one frame per request.

#include <atomic>
#include <cstdio>

#include "app/desktop_host_sdl.h"
#include "app/glx_host_posix.h"
#include "app/shells_sdl.h"
#include "preview/preview.h"

namespace qv {

namespace {

enum PreviewEventCode { kRepaint = 1, kDestroy = 2 };

struct RepaintPump {
  PreviewScene* preview = nullptr;
  int width = 0;
  int height = 0;
  Uint32 event_type = 0;
  // Requests that have not been painted yet are merged, as invalidating a
  // window twice still gives one paint.
  std::atomic<bool> pending{false};
};

void Post(Uint32 type, int code) {
  SDL_Event e{};
  e.type = type;
  e.user.code = code;
  SDL_PushEvent(&e);
}

int PreviewRenderThread(void* data) {
  RepaintPump& pump = *static_cast<RepaintPump*>(data);
  pump.preview->Prepare(pump.width, pump.height);
  for (;;) {
    if (!pump.pending.exchange(true)) Post(pump.event_type, kRepaint);
    SDL_Delay(kPreviewIntervalMs);
    if (pump.preview->PreviewStop.load(std::memory_order_acquire)) break;
  }
  Post(pump.event_type, kDestroy);
  return 0;
}

// Starts the thread for a preview of the given size; the caller stops it with
// StopRenderThread on every way out. Says why on stderr when it cannot.
SDL_Thread* StartRenderThread(RepaintPump& pump, PreviewScene& preview, int width, int height) {
  pump.preview = &preview;
  pump.width = width;
  pump.height = height;
  pump.event_type = SDL_RegisterEvents(1);
  SDL_Thread* thread = nullptr;
  if (pump.event_type != static_cast<Uint32>(-1)) {
    thread = SDL_CreateThread(PreviewRenderThread, "PreviewRenderThread", &pump);
  }
  if (thread == nullptr) {
    std::fprintf(stderr, "quorvelian: cannot start the preview thread: %s\n", SDL_GetError());
  }
  return thread;
}

void StopRenderThread(RepaintPump& pump, SDL_Thread* thread) {
  pump.preview->PreviewStop.store(true, std::memory_order_release);
  if (thread != nullptr) SDL_WaitThread(thread, nullptr);
}

int RunPopup(SceneState& scene, GeometryStore& store) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "quorvelian: cannot open the display: %s\n", SDL_GetError());
    return 1;
  }
  SdlWindowHost host;
  if (!host.Open(kPreviewCaption, 0, 0, kPreviewPopupWidth, kPreviewPopupHeight,
                 SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP)) {
    return 1;
  }
  SDL_ShowWindow(host.window());
  SDL_RaiseWindow(host.window());
  SDL_SetWindowInputFocus(host.window());

  PreviewScene preview(scene, store);
  RepaintPump pump;
  SDL_Thread* thread = StartRenderThread(pump, preview, host.ClientWidth(), host.ClientHeight());
  if (thread == nullptr) return 1;
  bool running = true;
  while (running && !host.terminated()) {
    SDL_Event e;
    if (SDL_WaitEvent(&e) == 0) break;
    if (e.type == pump.event_type) {
      if (e.user.code == kDestroy) running = false;
      if (e.user.code == kRepaint) {
        pump.pending.store(false);
        preview.DrawPreviewFrame(host);
      }
    } else if (e.type == SDL_KEYDOWN) {
      preview.KeyDown(host);
    } else if (e.type == SDL_QUIT ||
               (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE)) {
      running = false;
    }
    // Mouse movement and clicks never end the preview.
  }
  StopRenderThread(pump, thread);
  return host.graphics_failed() ? 1 : 0;
}

int RunInsideHost(SceneState& scene, GeometryStore& store, unsigned long parent) {
  // Events only: the repaint requests travel through SDL's queue.
  if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "quorvelian: %s\n", SDL_GetError());
    return 1;
  }
  XConnection x;
  if (x.display() == nullptr) {
    std::fprintf(stderr, "quorvelian: cannot open the X display\n");
    return 1;
  }
  GlxWindowHost host(x);
  std::string error;
  if (!host.CreateChild(parent, kPreviewCaption, &error)) {
    std::fprintf(stderr, "quorvelian: cannot show the preview: %s\n", error.c_str());
    return 1;
  }
  PreviewScene preview(scene, store);
  RepaintPump pump;
  SDL_Thread* thread = StartRenderThread(pump, preview, host.ClientWidth(), host.ClientHeight());
  if (thread == nullptr) return 1;
  bool running = true;
  while (running && !host.terminated()) {
    bool resized = false;
    // The usual end: the host destroys its area, and our child with it.
    if (!host.Pump(&resized)) break;
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, 10) == 0 || e.type != pump.event_type) continue;
    if (e.user.code == kDestroy) running = false;
    if (e.user.code == kRepaint) {
      pump.pending.store(false);
      preview.DrawPreviewFrame(host);
    }
  }
  StopRenderThread(pump, thread);
  return host.graphics_failed() ? 1 : 0;
}

}  // namespace

int RunPreviewShell(SceneState& scene, GeometryStore& store, unsigned long parent) {
  if (parent == 0) return RunPopup(scene, store);
  return RunInsideHost(scene, store, parent);
}

}  // namespace qv
