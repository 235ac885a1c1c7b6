#pragma once
// A settings store held in memory: for tests and for runs that must not
// touch the user's stored settings.

#include <map>
#include <string>

#include "store/settings.h"

namespace qv {

class MemorySettingsStore final : public SettingsStore {
 public:
  struct Value {
    std::int64_t number = 0;
    bool is_integer = true;  // false: stored with another type
    int size = 4;            // bytes the stored value occupies
  };
  struct Key {
    std::map<std::string, Value> values;
  };

  // Shared between store objects, as a registry is between opens.
  explicit MemorySettingsStore(std::map<std::string, Key>& keys) : keys_(keys) {}

  bool OpenKey(const std::string& path) override;
  bool OpenOrCreateKey(const std::string& path) override;
  std::int32_t ReadInteger(const std::string& name) override;
  void WriteInteger(const std::string& name, std::int32_t value) override;
  void CloseKey() override { open_ = nullptr; }

  bool deny_create = false;   // OpenOrCreateKey fails
  bool deny_writes = false;   // every WriteInteger fails
  int opens = 0;
  int closes_pending() const { return open_ != nullptr ? 1 : 0; }

 private:
  std::map<std::string, Key>& keys_;
  Key* open_ = nullptr;
};

}  // namespace qv
