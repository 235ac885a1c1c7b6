#pragma once
// A periodic timer on the shell's own loop: ticks that fall due while a frame
// is still running are merged into one, as a window-system timer does.

#include <SDL.h>

namespace qv {

class TickTimer {
 public:
  explicit TickTimer(Uint32 interval_ms)
      : interval_(interval_ms), next_(SDL_GetTicks64() + interval_ms) {}

  // Milliseconds until the next tick, 0 when it is due.
  int WaitMs() const {
    const Uint64 now = SDL_GetTicks64();
    return now >= next_ ? 0 : static_cast<int>(next_ - now);
  }
  void Fired() {
    const Uint64 now = SDL_GetTicks64();
    next_ += interval_;
    if (next_ <= now) next_ = now + interval_;
  }

 private:
  Uint64 interval_;
  Uint64 next_;
};

}  // namespace qv
