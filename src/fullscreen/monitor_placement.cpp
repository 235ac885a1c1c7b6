#include "fullscreen/monitor_placement.h"

#include <algorithm>

namespace qv {

namespace {

bool Usable(const ScreenRect& r) {
  return r.width > 0 && r.height > 0;
}

bool Contains(const ScreenRect& outer, const ScreenRect& inner) {
  // 64-bit sums: a hand-made or corrupt monitor list may sit near INT_MAX.
  const long long outer_right = static_cast<long long>(outer.left) + outer.width;
  const long long outer_bottom = static_cast<long long>(outer.top) + outer.height;
  return inner.left >= outer.left && inner.top >= outer.top &&
         static_cast<long long>(inner.left) + inner.width <= outer_right &&
         static_cast<long long>(inner.top) + inner.height <= outer_bottom;
}

bool HoldsOrigin(const ScreenRect& r) {
  return r.left <= 0 && r.top <= 0 && static_cast<long long>(r.left) + r.width > 0 &&
         static_cast<long long>(r.top) + r.height > 0;
}

}  // namespace

SaverPlacement PlaceSaverWindows(const std::vector<Monitor>& monitors, const ScreenRect& fallback) {
  std::vector<const Monitor*> usable;
  for (const Monitor& m : monitors) {
    if (Usable(m.bounds)) usable.push_back(&m);
  }
  SaverPlacement placement;
  if (usable.empty()) {
    placement.scene = fallback;
    return placement;
  }
  // The flagged monitor; failing that, the one the desktop's origin lies on
  // (where Windows puts the primary); failing that, the first.
  auto primary =
      std::find_if(usable.begin(), usable.end(), [](const Monitor* m) { return m->primary; });
  if (primary == usable.end()) {
    primary = std::find_if(usable.begin(), usable.end(),
                           [](const Monitor* m) { return HoldsOrigin(m->bounds); });
  }
  if (primary == usable.end()) primary = usable.begin();
  placement.scene = (*primary)->bounds;

  for (const Monitor* m : usable) {
    // A mirror of the primary (or a monitor inside its area) would put a
    // top-most black window over the scene itself; a second mirror of
    // another monitor needs no second cover.
    if (Contains(placement.scene, m->bounds)) continue;
    if (std::find(placement.covers.begin(), placement.covers.end(), m->bounds) !=
        placement.covers.end()) {
      continue;
    }
    placement.covers.push_back(m->bounds);
  }
  return placement;
}

}  // namespace qv
