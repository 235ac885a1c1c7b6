#pragma once
// Black top-most windows over every monitor but the primary one while the
// saver runs, so that no other monitor keeps showing the desktop. They never
// take activation (the saver's own window keeps the keyboard) and hand key
// presses and mouse movement on to the saver, which ends the same way as on
// its own window.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <functional>
#include <vector>

#include "fullscreen/monitor_placement.h"

namespace qv {

// The monitors as the system reports them, in physical pixels when the
// process is DPI aware.
std::vector<Monitor> EnumerateMonitors();

class MonitorCovers {
 public:
  struct Input {
    std::function<void(int key)> key;
    std::function<void()> mouse_move;
  };

  MonitorCovers() = default;
  ~MonitorCovers() { Destroy(); }
  MonitorCovers(const MonitorCovers&) = delete;
  MonitorCovers& operator=(const MonitorCovers&) = delete;

  // One black window over each place.
  void Create(HINSTANCE instance, const std::vector<ScreenRect>& places, Input input);
  void Destroy();
  const std::vector<HWND>& windows() const { return windows_; }
  bool Owns(HWND window) const;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  std::vector<HWND> windows_;
  Input input_;
};

}  // namespace qv
