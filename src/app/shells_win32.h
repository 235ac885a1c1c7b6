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

// A saver window's class: a device context of its own, so the GL context made
// on it stays valid between frames, the .scr's icon, and black until the first
// frame is drawn.
inline void RegisterSaverWindowClass(HINSTANCE instance, WNDPROC proc, const char* name,
                                     HCURSOR cursor) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kAppIconId));
  wc.hCursor = cursor;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
}

}  // namespace qv
