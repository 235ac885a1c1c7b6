#pragma once
// The settings window's sliders and buttons on Linux, drawn by Dear ImGui
// into the window's own context over the scene.

#include <memory>

#include "platform/sdl/sdl_controls.h"
#include "settings/settings_window.h"

namespace qv {

std::unique_ptr<SdlControls> MakeSettingsControls(TForm2& form);

}  // namespace qv
