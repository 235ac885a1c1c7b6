#pragma once
// Controls that the platform draws into a front-end's own GL context, over
// its picture (the settings window's sliders and buttons). The window calls
// them around its events, frames and contexts.

#include <SDL.h>

namespace qv {

class SdlControls {
 public:
  virtual ~SdlControls() = default;
  virtual void Open(SDL_Window* window) = 0;
  // Every event of the window, before the front-end's handler sees it.
  virtual void Event(const SDL_Event& event) = 0;
  // Before the timer's frame, with the context current.
  virtual void BeginFrame() = 0;
  // Right before the frame's swap, into the frame's back buffer.
  virtual void BeforeSwap() = 0;
  // After the frame's handler, whether or not it swapped.
  virtual void EndFrame() = 0;
  // While the context that is about to go is still current.
  virtual void BeforeRelease() = 0;
  virtual void Close() = 0;
};

}  // namespace qv
