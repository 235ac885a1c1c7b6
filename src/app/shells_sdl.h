#pragma once
// The three Linux front-end shells; each runs its window until it ends and
// returns the process exit code.

#include <cstdint>

#include "geometry/geometry_store.h"
#include "scene/scene_state.h"

namespace qv {

// `window_id` 0: a window of our own on the primary display; otherwise an
// existing X window to draw into (the XScreenSaver convention).
int RunFullScreenShell(SceneState& scene, GeometryStore& store, unsigned long window_id);
int RunSettingsShell(SceneState& scene, GeometryStore& store);
// `parent` 0: a stand-alone pop-up; otherwise the X window to draw inside.
int RunPreviewShell(SceneState& scene, GeometryStore& store, unsigned long parent);

}  // namespace qv
