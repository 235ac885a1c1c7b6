// Tells a window that it now shows at another DPI, as Windows does when the
// window moves to a monitor of another scaling. No suggested rectangle: a
// pointer would not survive the trip into the other process.
//   qv_dpi_change.exe <window caption> <dpi>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: qv_dpi_change <caption> <dpi>\n");
    return 2;
  }
  HWND window = FindWindowA(nullptr, argv[1]);
  if (window == nullptr) {
    std::fprintf(stderr, "no window \"%s\"\n", argv[1]);
    return 1;
  }
  const int dpi = std::atoi(argv[2]);
  constexpr UINT kDpiChanged = 0x02E0;
  if (!PostMessageA(window, kDpiChanged, MAKEWPARAM(dpi, dpi), 0)) return 1;
  std::printf("told \"%s\" it is at %d DPI\n", argv[1], dpi);
  return 0;
}
