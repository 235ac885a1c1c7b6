#pragma once
// A settings store held in memory, shaped like a registry: for tests, the
// benchmarks and tools that must not touch the user's stored settings.

#include <map>
#include <string>
#include <utility>
#include <vector>

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
    bool read_only = false;  // opens, reads, but refuses every value's write
  };

  // Shared between store objects, as a registry is between opens.
  explicit MemorySettingsStore(std::map<std::string, Key>& keys) : keys_(keys) {}

  bool OpenKey(const std::string& path) override;
  bool OpenOrCreateKey(const std::string& path) override;
  std::int32_t ReadInteger(const std::string& name) override;
  void WriteInteger(const std::string& name, std::int32_t value) override;
  // Like the registry: value by value, those before a failing one stay.
  void Commit() override;
  void CloseKey() override;

  bool deny_create = false;   // OpenOrCreateKey fails
  bool deny_writes = false;   // every value's write fails
  std::string deny_write_of;  // this value's write fails
  int opens = 0;
  int commits = 0;
  int closes_pending() const { return open_ != nullptr ? 1 : 0; }

 private:
  std::map<std::string, Key>& keys_;
  Key* open_ = nullptr;
  std::vector<std::pair<std::string, std::int32_t>> staged_;
};

}  // namespace qv
