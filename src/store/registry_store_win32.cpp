#include "store/registry_store_win32.h"

namespace qv {

RegistrySettingsStore::~RegistrySettingsStore() {
  CloseKey();
}

std::string RegistrySettingsStore::RelativePath(const std::string& path) {
  std::string::size_type first = path.find_first_not_of('\\');
  if (first == std::string::npos) return std::string();
  std::string::size_type last = path.find_last_not_of('\\');
  return path.substr(first, last - first + 1);
}

bool RegistrySettingsStore::OpenKey(const std::string& path) {
  CloseKey();
  HKEY key = nullptr;
  if (RegOpenKeyExA(root_, RelativePath(path).c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    return false;
  }
  key_ = key;
  return true;
}

bool RegistrySettingsStore::OpenOrCreateKey(const std::string& path) {
  CloseKey();
  HKEY key = nullptr;
  if (RegCreateKeyExA(root_, RelativePath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  key_ = key;
  return true;
}

std::int32_t RegistrySettingsStore::ReadInteger(const std::string& name) {
  if (key_ == nullptr) throw SettingsError(FailedToGet(name));
  DWORD type = REG_NONE;
  DWORD data = 0;
  DWORD size = sizeof(data);
  // A value wider than four bytes comes back as ERROR_MORE_DATA, so a
  // hand-edited string or QWORD never overruns the buffer.
  LONG result =
      RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
  if (result != ERROR_SUCCESS) throw SettingsError(FailedToGet(name));
  if (type != REG_DWORD) throw SettingsError(InvalidType(name));
  return static_cast<std::int32_t>(data);
}

void RegistrySettingsStore::WriteInteger(const std::string& name, std::int32_t value) {
  if (key_ == nullptr) throw SettingsError(FailedToSet(name));
  staged_.emplace_back(name, value);
}

void RegistrySettingsStore::Commit() {
  const auto staged = std::move(staged_);
  staged_.clear();
  for (const auto& [name, value] : staged) {
    const DWORD data = static_cast<DWORD>(value);
    if (key_ == nullptr ||
        RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                       sizeof(data)) != ERROR_SUCCESS) {
      throw SettingsError(FailedToSet(name));
    }
  }
}

void RegistrySettingsStore::CloseKey() {
  staged_.clear();
  if (key_ != nullptr) {
    RegCloseKey(key_);
    key_ = nullptr;
  }
}

}  // namespace qv
