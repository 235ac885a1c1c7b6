#pragma once
// The three Windows front-end shells; each runs its window until it ends and
// returns the exit code.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>

#include "geometry/geometry_store.h"
#include "scene/scene_state.h"

namespace qv {

int RunFullScreenWindow(HINSTANCE instance, SceneState& scene, GeometryStore& store);
int RunSettingsWindow(HINSTANCE instance, SceneState& scene, GeometryStore& store);
int RunPreviewWindow(HINSTANCE instance, SceneState& scene, GeometryStore& store,
                     std::int32_t parent);

// The icon of the .scr, shared by the windows that show one.
inline constexpr int kAppIconId = 1;

}  // namespace qv
