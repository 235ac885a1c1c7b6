#pragma once
// The settings store behind the Windows saver: REG_DWORD values under one
// key of the current user's registry hive.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "store/settings.h"

namespace qv {

class RegistrySettingsStore final : public SettingsStore {
 public:
  explicit RegistrySettingsStore(HKEY root = HKEY_CURRENT_USER) : root_(root) {}
  ~RegistrySettingsStore() override;
  RegistrySettingsStore(const RegistrySettingsStore&) = delete;
  RegistrySettingsStore& operator=(const RegistrySettingsStore&) = delete;

  bool OpenKey(const std::string& path) override;
  bool OpenOrCreateKey(const std::string& path) override;
  std::int32_t ReadInteger(const std::string& name) override;
  void WriteInteger(const std::string& name, std::int32_t value) override;
  // One value after the other, each durable on its own as the registry
  // makes it; a failing one stops the burst, those before it stay written.
  void Commit() override;
  void CloseKey() override;

  // The path as the registry API wants it: relative to the root, so without
  // the leading backslash; a trailing one is dropped as well.
  static std::string RelativePath(const std::string& path);

 private:
  HKEY root_;
  HKEY key_ = nullptr;
  std::vector<std::pair<std::string, std::int32_t>> staged_;
};

}  // namespace qv
