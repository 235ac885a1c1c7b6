#pragma once
// Where the saver's windows go on a desktop of several monitors: the scene on
// the primary monitor, a black cover on each of the others, so that nothing
// of the desktop stays readable while the saver (and its password) runs.

#include <vector>

namespace qv {

struct ScreenRect {
  // Physical pixels in the desktop's coordinates; the primary monitor
  // usually starts at (0, 0), others may lie at negative coordinates.
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool operator==(const ScreenRect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

struct Monitor {
  ScreenRect bounds;
  bool primary = false;
};

struct SaverPlacement {
  ScreenRect scene;
  std::vector<ScreenRect> covers;
};

// `fallback` is the scene's place when the platform reports no usable
// monitor (the primary screen's size at the origin).
SaverPlacement PlaceSaverWindows(const std::vector<Monitor>& monitors, const ScreenRect& fallback);

}  // namespace qv
