#include "platform/win32/services_win32.h"

#include <shellapi.h>

#include "platform/win32/password_win32.h"
#include "store/registry_store_win32.h"
#include "store/settings.h"

namespace qv {

void Win32Services::ShowErrorBox(const std::string& text) {
  MessageBoxA(owner_, text.c_str(), kApplicationTitle, MB_ICONERROR | MB_OK);
}

bool Win32Services::VerifyPassword() {
  return VerifySaverPassword(owner_);
}

std::unique_ptr<SettingsStore> Win32Services::OpenSettingsStore() {
  return std::make_unique<RegistrySettingsStore>(HKEY_CURRENT_USER);
}

void Win32Services::OpenWebPage(const char* address) {
  if (address == nullptr) return;
  ShellExecuteA(owner_, "open", address, "", "", SW_SHOW);
}

}  // namespace qv
