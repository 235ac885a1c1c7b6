#include "platform/sdl/desktop_services.h"

#include <SDL.h>

#include <cstdio>

#include "platform/sdl/message_box_x11.h"
#include "store/file_store_posix.h"

namespace qv {

void ShowGraphicsError(const std::string& text) {
  std::fprintf(stderr, "quorvelian: %s\n", text.c_str());
  ShowMessageBox("Error", text, 0);
}

void DesktopServices::ShowErrorBox(const std::string& text) {
  std::fprintf(stderr, "quorvelian: %s\n", text.c_str());
  ShowMessageBox(kApplicationTitle, text, box_owner_);
}

std::unique_ptr<SettingsStore> DesktopServices::OpenSettingsStore() {
  return std::make_unique<FileSettingsStore>(DefaultSettingsFilePath());
}

void DesktopServices::OpenWebPage(const char* address) {
  // No browser is not an error the window reacts to.
  if (SDL_OpenURL(address) != 0) {
    std::fprintf(stderr, "quorvelian: cannot open %s: %s\n", address, SDL_GetError());
  }
}

}  // namespace qv
