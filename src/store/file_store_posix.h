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
// every save unchanged. A commit writes the whole new file next to the old
// one and renames it over it, so a reader or a crash sees either the old or
// the new values, never a mixture.

#include <sys/types.h>

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
  // Also false when the file may not be replaced: refused for reading, set
  // read-only by its owner, or in a folder that cannot be written.
  bool OpenOrCreateKey(const std::string& path) override;
  std::int32_t ReadInteger(const std::string& name) override;
  void WriteInteger(const std::string& name, std::int32_t value) override;
  void Commit() override;
  void CloseKey() override;

  const std::string& file_path() const { return file_path_; }
  // The file a commit replaces: file_path() with symbolic links followed.
  const std::string& target_path() const { return target_path_; }
  // Commits write "<folder>/.<file name>.XXXXXX" (six letters or digits)
  // before renaming; this is the part before the six characters.
  std::string TempPrefix() const;

 private:
  enum class LoadResult { kLoaded, kMissing, kRefused };
  LoadResult Load();
  bool MayReplace();
  // Index of the line holding `name` in our section, or -1.
  long FindValueLine(const std::string& name) const;
  void Warn(const char* why);

  std::string file_path_;
  std::string target_path_;
  std::vector<std::string> lines_;
  bool open_ = false;
  bool warned_ = false;
  // The file as loaded; a commit gives its replacement the same mode and owner.
  bool exists_ = false;
  mode_t mode_ = 0600;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
  std::string first_staged_;  // the first value staged since the key was opened
};

}  // namespace qv
