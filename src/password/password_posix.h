#pragma once
// Desktop sessions on X11 and Wayland lock the screen themselves (the locker
// asks for the password, not the saver), so the saver's own check has
// nothing to ask and the change mode has nothing to change.

#include <cstdint>

namespace qv {

// true: the saver may end.
bool VerifySaverPassword();
void ChangeSaverPassword(std::int32_t owner);

}  // namespace qv
