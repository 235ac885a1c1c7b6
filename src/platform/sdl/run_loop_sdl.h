#pragma once
// The Linux platform's one loop. It owns the window (our own through SDL2,
// or someone else's through GLX), the GL context, the timer, input, the
// stop signals and the process's end, and drives one front-end through its
// handlers. Each Run function returns the process's exit code.

#include <functional>
#include <memory>

#include "app/front_end.h"
#include "app/host.h"
#include "platform/sdl/sdl_controls.h"

namespace qv {

// A front-end made for the platform's window, and the controls the platform
// draws for it (the settings window's), if any.
struct Started {
  std::unique_ptr<FrontEnd> front;
  std::unique_ptr<SdlControls> controls;
};
using Launch = std::function<Started(const Host& host)>;

// A window of our own, as `spec` describes it.
int RunInOwnWindow(const WindowSpec& spec, const Launch& launch);
// Draws into `window`, an X window someone else owns (XScreenSaver's).
int RunInForeignWindow(unsigned long window, const Launch& launch);
// Draws into a child we make inside `parent` (a preview area), named `caption`.
int RunInsideWindow(unsigned long parent, const char* caption, const Launch& launch);

}  // namespace qv
