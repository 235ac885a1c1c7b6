#pragma once
// The screen-saver password services of the older Windows family. Both live
// in optional system libraries; where they are missing the check allows and
// the change does nothing.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace qv {

// Loads a library from the system directory only, never from the program's
// folder or the current directory: a DLL planted beside the saver must not
// run inside it. nullptr when it is not there.
HMODULE LoadSystemLibrary(const char* name);

// true: the saver may end.
bool VerifySaverPassword(HWND owner);
void ChangeSaverPassword(HWND owner);

}  // namespace qv
