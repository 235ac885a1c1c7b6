#pragma once
// The subcommands that draw with a real (offscreen) OpenGL context, and the
// timings.

#include "options.h"

namespace qv::render_tool {

int RunSnapshot(const Options& options);
int RunGallery(const Options& options);
int RunBench(const Options& options);

}  // namespace qv::render_tool
