#pragma once
// The settings kept in a per-user text file instead of a registry key:
//
//   [Quorvelian]
//   Fast=5
//   ...
//
// The file stands for the one key the saver uses, so the key path passed to
// OpenKey / OpenOrCreateKey only selects "the file". Lines the store does not
// own (comments, blank lines, other sections, garbage) are carried through
// every save unchanged, and each write replaces the file atomically.

#include <cstdint>
#include <string>
#include <vector>

#include "store/settings.h"

namespace qv {

// $XDG_CONFIG_HOME/quorvelian/settings.ini, or ~/.config/quorvelian/settings.ini
// when the variable is unset, empty or relative (the XDG rule). Empty when no
// home folder can be found at all.
std::string DefaultSettingsFilePath();

class FileSettingsStore final : public SettingsStore {
 public:
  // Files larger than this are refused rather than read: no sane settings file
  // comes near it, and a refused file is never overwritten.
  static constexpr std::size_t kMaxFileBytes = 1u << 20;

  explicit FileSettingsStore(std::string file_path);

  bool OpenKey(const std::string& path) override;
  bool OpenOrCreateKey(const std::string& path) override;
  std::int32_t ReadInteger(const std::string& name) override;
  void WriteInteger(const std::string& name, std::int32_t value) override;
  void CloseKey() override;

  const std::string& file_path() const { return file_path_; }

 private:
  enum class LoadResult { kLoaded, kMissing, kRefused };
  LoadResult Load();
  // Index of the line holding `name` in our section, or -1.
  long FindValueLine(const std::string& name) const;
  bool Commit(const std::vector<std::string>& lines) const;

  std::string file_path_;
  std::string target_path_;  // file_path_ with symbolic links resolved
  std::vector<std::string> lines_;
  bool open_ = false;
};

}  // namespace qv
