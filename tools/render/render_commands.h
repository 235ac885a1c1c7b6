#pragma once
// The subcommands that draw with a real (offscreen) OpenGL context, and the
// timings.

#include <string>
#include <vector>

#include "options.h"
#include "store/settings_table.h"

namespace qv::render_tool {

// The snapshot's option for a setting with a slider: its stored name in
// lower case ("fast", "bright", ...).
std::string SnapshotOptionOf(const SettingSpec& setting);
std::vector<std::string> SnapshotOptionNames();
int RunSnapshot(const Options& options);
int RunGallery(const Options& options);
int RunBench(const Options& options);
// One flower on a transparent square: the application's icon.
int RunIcon(const Options& options);

}  // namespace qv::render_tool
