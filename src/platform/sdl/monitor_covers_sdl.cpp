#include "platform/sdl/monitor_covers_sdl.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace qv {

std::vector<Monitor> SdlMonitors() {
  std::vector<Monitor> monitors;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect r;
    if (SDL_GetDisplayBounds(i, &r) != 0) continue;
    monitors.push_back({{r.x, r.y, r.w, r.h}, i == 0});
  }
  return monitors;
}

void SdlMonitorCovers::Create(const std::vector<ScreenRect>& places) {
  Destroy();
  for (const ScreenRect& r : places) {
    // Skip-taskbar makes SDL create the X window override-redirect.
    SDL_Window* cover = SDL_CreateWindow("Quorvelian cover", r.left, r.top, r.width, r.height,
                                         SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP |
                                             SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_HIDDEN);
    if (cover == nullptr) continue;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(cover, &info) && info.subsystem == SDL_SYSWM_X11) {
      // The server itself keeps the window black, on every exposure, without
      // the loop drawing anything into it.
      Display* display = info.info.x11.display;
      const ::Window x_window = info.info.x11.window;
      XSetWindowBackground(display, x_window, BlackPixel(display, DefaultScreen(display)));
      XClearWindow(display, x_window);
    }
    SDL_ShowWindow(cover);
    windows_.push_back(cover);
  }
}

void SdlMonitorCovers::Destroy() {
  for (SDL_Window* cover : windows_) SDL_DestroyWindow(cover);
  windows_.clear();
}

}  // namespace qv
