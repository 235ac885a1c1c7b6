#pragma once
// The DPI a window is shown at. The per-monitor functions exist from Windows
// 10 (1607) on and are looked up at run time, so the same .scr still starts
// on Windows 7, which gets the system DPI.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace qv {

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

int WindowDpi(HWND window);

}  // namespace qv
