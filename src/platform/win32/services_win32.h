#pragma once
// The services of a Windows saver window: the registry store, error boxes,
// the password libraries of the older Windows family, the shell.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <memory>
#include <string>

#include "app/host.h"

namespace qv {

class Win32Services final : public Services {
 public:
  // The window that owns the boxes and dialogs.
  void SetOwner(HWND owner) { owner_ = owner; }

  void ShowErrorBox(const std::string& text) override;
  bool VerifyPassword() override;
  std::unique_ptr<SettingsStore> OpenSettingsStore() override;
  void OpenWebPage(const char* address) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace qv
