#pragma once
// The services of a Linux window: the settings file, error boxes, the web
// page. Desktop sessions lock the screen themselves (the locker asks for the
// password, not the saver), so the password check always allows.

#include <memory>
#include <string>

#include "app/host.h"

namespace qv {

class DesktopServices final : public Services {
 public:
  // The X window the boxes belong to, 0 for none (centred on the screen).
  void SetBoxOwner(unsigned long window) { box_owner_ = window; }

  void ShowErrorBox(const std::string& text) override;
  bool VerifyPassword() override { return true; }
  std::unique_ptr<SettingsStore> OpenSettingsStore() override;
  void OpenWebPage(const char* address) override;

 private:
  unsigned long box_owner_ = 0;
};

// The box that stands for "ChoosePixelFormat failed" / "SetPixelFormat
// failed": caption "Error", also written to stderr for sessions where no one
// sees the screen.
void ShowGraphicsError(const std::string& text);

}  // namespace qv
