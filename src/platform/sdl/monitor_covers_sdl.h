#pragma once
// Black windows over every display but the primary one while the saver runs,
// so that no other monitor keeps showing the desktop. They are
// override-redirect X windows: a window manager neither decorates nor
// focuses them, so the saver's own window keeps the keyboard, and the loop
// sees their key and motion events as the saver's.

#include <SDL.h>

#include <vector>

#include "fullscreen/monitor_placement.h"

namespace qv {

// SDL's displays; SDL lists the primary one first.
std::vector<Monitor> SdlMonitors();

class SdlMonitorCovers {
 public:
  SdlMonitorCovers() = default;
  ~SdlMonitorCovers() { Destroy(); }
  SdlMonitorCovers(const SdlMonitorCovers&) = delete;
  SdlMonitorCovers& operator=(const SdlMonitorCovers&) = delete;

  void Create(const std::vector<ScreenRect>& places);
  void Destroy();
  std::size_t count() const { return windows_.size(); }

 private:
  std::vector<SDL_Window*> windows_;
};

}  // namespace qv
