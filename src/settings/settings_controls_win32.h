#pragma once
// The settings window's native trackbars, labels and buttons on Win32.

#include <memory>

#include "platform/win32/message_loop_win32.h"
#include "settings/settings_window.h"

namespace qv {

std::unique_ptr<Win32Controls> MakeSettingsControls(TForm2& form);

}  // namespace qv
