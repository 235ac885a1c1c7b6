#include "testing/memory_store.h"

namespace qv {

bool MemorySettingsStore::OpenKey(const std::string& path) {
  CloseKey();
  auto it = keys_.find(path);
  if (it == keys_.end()) return false;
  open_ = &it->second;
  ++opens;
  return true;
}

bool MemorySettingsStore::OpenOrCreateKey(const std::string& path) {
  CloseKey();
  if (deny_create) return false;
  open_ = &keys_[path];
  ++opens;
  return true;
}

std::int32_t MemorySettingsStore::ReadInteger(const std::string& name) {
  if (open_ == nullptr) throw SettingsError(FailedToGet(name));
  auto it = open_->values.find(name);
  if (it == open_->values.end() || it->second.size > 4) throw SettingsError(FailedToGet(name));
  if (!it->second.is_integer) throw SettingsError(InvalidType(name));
  return static_cast<std::int32_t>(it->second.number);
}

void MemorySettingsStore::WriteInteger(const std::string& name, std::int32_t value) {
  if (open_ == nullptr) throw SettingsError(FailedToSet(name));
  staged_.emplace_back(name, value);
}

void MemorySettingsStore::Commit() {
  ++commits;
  auto staged = std::move(staged_);
  staged_.clear();
  for (const auto& [name, value] : staged) {
    if (open_ == nullptr || open_->read_only || deny_writes || name == deny_write_of) {
      throw SettingsError(FailedToSet(name));
    }
    open_->values[name] = Value{value, true, 4};
  }
}

void MemorySettingsStore::CloseKey() {
  open_ = nullptr;
  staged_.clear();
}

}  // namespace qv
