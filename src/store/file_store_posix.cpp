#include "store/file_store_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string_view>
#include <utility>

namespace qv {

namespace {

constexpr const char* kSectionName = "Quorvelian";

std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Value names are compared like registry value names: ASCII case does not count.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool IsSectionHeader(std::string_view line, std::string_view* name) {
  const std::string_view t = Trim(line);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
  *name = Trim(t.substr(1, t.size() - 2));
  return true;
}

// "Name=value" outside comments; the name is what stands before the first '='.
bool IsValueLine(std::string_view line, std::string_view* name, std::string_view* value) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '#') return false;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return false;
  *name = Trim(t.substr(0, eq));
  *value = Trim(t.substr(eq + 1));
  return true;
}

// A signed decimal that fits 32 bits, nothing else (no hex, no fraction, no
// trailing text): anything looser would let a typo pass as a number.
bool ParseInt32(std::string_view text, std::int32_t* out) {
  if (text.empty()) return false;
  bool negative = false;
  std::size_t i = 0;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size()) return false;
  long long magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > 2147483648LL) return false;
  }
  const long long v = negative ? -magnitude : magnitude;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  *out = static_cast<std::int32_t>(v);
  return true;
}

// Our section: lines before the first header, and the lines under a
// [Quorvelian] header (a header may repeat; each repetition counts).
std::vector<bool> OwnedLines(const std::vector<std::string>& lines) {
  std::vector<bool> owned(lines.size(), false);
  bool inside = true;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view section;
    if (IsSectionHeader(lines[i], &section)) {
      inside = SameName(section, kSectionName);
      continue;
    }
    owned[i] = inside;
  }
  return owned;
}

std::string Folder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool MakeFolders(const std::string& folder) {
  if (folder.empty()) return false;
  struct stat st {};
  if (stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::string parent = Folder(folder);
  if (parent != folder && !MakeFolders(parent)) return false;
  return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// Follows symbolic links one hop at a time, so that a link into a folder
// that holds no file yet (a fresh dotfiles checkout) still names where the
// file belongs. Empty for a loop of links.
std::string ResolveLinks(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::string target(static_cast<std::size_t>(PATH_MAX), '\0');
    const ssize_t n = readlink(current.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return {};
    target.resize(static_cast<std::size_t>(n));
    current = target[0] == '/' ? target : Folder(current) + "/" + target;
  }
  return {};
}

bool WriteAllBytes(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

constexpr std::size_t kTempSuffixLength = 6;

bool IsTempName(const std::string& name, const std::string& prefix) {
  if (name.size() != prefix.size() + kTempSuffixLength || name.compare(0, prefix.size(), prefix)) {
    return false;
  }
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    const char c = name[i];
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum) return false;
  }
  return true;
}

// A commit holds an exclusive lock on its temporary file until it is renamed
// or removed, so a temporary file whose lock can be taken was left by a save
// that died: ours to remove. Files of other users are left alone.
void RemoveStaleTemps(int dir, const std::string& prefix) {
  const int listing = dup(dir);
  if (listing < 0) return;
  DIR* d = fdopendir(listing);
  if (d == nullptr) {
    close(listing);
    return;
  }
  std::vector<std::string> stale;
  while (const dirent* e = readdir(d)) {
    if (IsTempName(e->d_name, prefix)) stale.emplace_back(e->d_name);
  }
  closedir(d);
  for (const std::string& name : stale) {
    const int fd = openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
        flock(fd, LOCK_EX | LOCK_NB) == 0) {
      unlinkat(dir, name.c_str(), 0);
    }
    close(fd);
  }
}

// A new, empty, locked temporary file in `dir`; -1 when none can be made.
int CreateTemp(int dir, const std::string& prefix, std::string* name) {
  static constexpr char kAlphabet[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device seed;
  std::mt19937 pick(seed());
  std::uniform_int_distribution<std::size_t> letter(0, sizeof kAlphabet - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    *name = prefix;
    for (std::size_t i = 0; i < kTempSuffixLength; ++i) *name += kAlphabet[letter(pick)];
    const int fd =
        openat(dir, name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    // Between the create and the lock another save may have taken the file
    // for a dead one and removed it; then the name is gone and we start over.
    struct stat st {};
    if (flock(fd, LOCK_EX) == 0 && fstat(fd, &st) == 0 && st.st_nlink > 0) return fd;
    close(fd);
  }
  return -1;
}

}  // namespace

std::string DefaultSettingsFilePath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
      const passwd* pw = getpwuid(getuid());
      home = pw != nullptr ? pw->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') return {};
    base = std::string(home) + "/.config";
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/quorvelian/settings.ini";
}

FileSettingsStore::FileSettingsStore(std::string file_path) : file_path_(std::move(file_path)) {}

void FileSettingsStore::Warn(const char* why) {
  if (warned_) return;
  warned_ = true;
  std::fprintf(stderr, "quorvelian: settings file %s %s; it is left untouched\n",
               file_path_.c_str(), why);
}

std::string FileSettingsStore::TempPrefix() const {
  return "." + BaseName(target_path_.empty() ? file_path_ : target_path_) + ".";
}

FileSettingsStore::LoadResult FileSettingsStore::Load() {
  lines_.clear();
  exists_ = false;
  target_path_ = file_path_;
  if (file_path_.empty()) return LoadResult::kRefused;
  target_path_ = ResolveLinks(file_path_);
  if (target_path_.empty()) {
    target_path_ = file_path_;
    Warn("is a loop of symbolic links");
    return LoadResult::kRefused;
  }
  // The type is known before anything is opened: opening a FIFO for reading
  // waits for a writer, and a device may do anything at all.
  struct stat st {};
  if (stat(target_path_.c_str(), &st) != 0) {
    if (errno == ENOENT) return LoadResult::kMissing;
    Warn("cannot be read");
    return LoadResult::kRefused;
  }
  if (!S_ISREG(st.st_mode)) {
    Warn("is not a regular file");
    return LoadResult::kRefused;
  }
  if (static_cast<unsigned long long>(st.st_size) > kMaxFileBytes) {
    Warn("is too large");
    return LoadResult::kRefused;
  }
  // Non-blocking in case it was swapped for something else since the check.
  const int fd = open(target_path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return LoadResult::kMissing;
    Warn("cannot be read");
    return LoadResult::kRefused;
  }
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    Warn("is not a regular file");
    return LoadResult::kRefused;
  }
  std::string data;
  char buffer[8192];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      Warn("cannot be read");
      return LoadResult::kRefused;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
    if (data.size() > kMaxFileBytes) {
      close(fd);
      Warn("is too large");
      return LoadResult::kRefused;
    }
  }
  close(fd);
  exists_ = true;
  mode_ = st.st_mode & 07777;
  uid_ = st.st_uid;
  gid_ = st.st_gid;
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t end = data.find('\n', start);
    if (end == std::string::npos) end = data.size();
    lines_.emplace_back(data, start, end - start);
    start = end + 1;
  }
  return LoadResult::kLoaded;
}

bool FileSettingsStore::MayReplace() {
  if (access(Folder(target_path_).c_str(), W_OK | X_OK) != 0) {
    Warn(errno == EROFS ? "is on a read-only file system"
                        : "is in a folder that cannot be written");
    return false;
  }
  if (!exists_) return true;
  // Read-only for its owner means "leave it as it is", even for a user (root)
  // whom the permission would not stop.
  if ((mode_ & S_IWUSR) == 0 || access(target_path_.c_str(), W_OK) != 0) {
    Warn("is read-only");
    return false;
  }
  return true;
}

bool FileSettingsStore::OpenKey(const std::string& /*path*/) {
  CloseKey();
  open_ = Load() == LoadResult::kLoaded;
  return open_;
}

bool FileSettingsStore::OpenOrCreateKey(const std::string& /*path*/) {
  CloseKey();
  if (file_path_.empty() || !MakeFolders(Folder(file_path_))) return false;
  if (Load() == LoadResult::kRefused || !MayReplace()) return false;
  open_ = true;
  return true;
}

long FileSettingsStore::FindValueLine(const std::string& name) const {
  const std::vector<bool> owned = OwnedLines(lines_);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::string_view key, value;
    if (owned[i] && IsValueLine(lines_[i], &key, &value) && SameName(key, name)) {
      return static_cast<long>(i);
    }
  }
  return -1;
}

std::int32_t FileSettingsStore::ReadInteger(const std::string& name) {
  if (!open_) throw SettingsError(FailedToGet(name));
  // With duplicates the first line wins; a save then drops the others.
  const long index = FindValueLine(name);
  if (index < 0) throw SettingsError(FailedToGet(name));
  std::string_view key, value;
  IsValueLine(lines_[static_cast<std::size_t>(index)], &key, &value);
  std::int32_t result = 0;
  if (!ParseInt32(value, &result)) throw SettingsError(InvalidType(name));
  return result;
}

void FileSettingsStore::WriteInteger(const std::string& name, std::int32_t value) {
  if (!open_ || name.empty() || name.find_first_of("=[]\n\r;#") != std::string::npos) {
    throw SettingsError(FailedToSet(name));
  }
  if (first_staged_.empty()) first_staged_ = name;
  std::vector<std::string>& lines = lines_;
  const std::string text = name + "=" + std::to_string(value);
  const std::vector<bool> owned = OwnedLines(lines);
  long first = -1, last_value = -1, header = -1;
  std::vector<std::size_t> duplicates;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view key, v, section;
    if (header < 0 && IsSectionHeader(lines[i], &section) && SameName(section, kSectionName)) {
      header = static_cast<long>(i);
    }
    if (!owned[i] || !IsValueLine(lines[i], &key, &v)) continue;
    last_value = static_cast<long>(i);
    if (!SameName(key, name)) continue;
    if (first < 0) {
      first = static_cast<long>(i);
    } else {
      duplicates.push_back(i);
    }
  }
  if (first >= 0) {
    lines[static_cast<std::size_t>(first)] = text;
    for (auto it = duplicates.rbegin(); it != duplicates.rend(); ++it) {
      lines.erase(lines.begin() + static_cast<long>(*it));
    }
  } else if (last_value >= 0) {
    // New values go after the ones already there, which keeps table order.
    lines.insert(lines.begin() + last_value + 1, text);
  } else if (header >= 0) {
    lines.insert(lines.begin() + header + 1, text);
  } else if (lines.empty()) {
    lines = {std::string("[") + kSectionName + "]", text};
  } else {
    // Only comments or other sections so far: our values belong before the
    // first foreign header, where a file without our header keeps them.
    std::size_t at = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      std::string_view section;
      if (IsSectionHeader(lines[i], &section)) {
        at = i;
        break;
      }
    }
    lines.insert(lines.begin() + static_cast<long>(at), text);
  }
}

void FileSettingsStore::Commit() {
  if (first_staged_.empty()) return;
  const SettingsError failed(FailedToSet(first_staged_));
  first_staged_.clear();
  if (!open_) throw failed;
  std::string data;
  for (const std::string& line : lines_) {
    data += line;
    data += '\n';
  }
  // A file grown past the limit would be refused by every later load.
  if (data.size() > kMaxFileBytes) throw failed;

  const std::string folder = Folder(target_path_);
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) throw failed;
  const std::string prefix = TempPrefix();
  RemoveStaleTemps(dir, prefix);
  std::string temp;
  const int fd = CreateTemp(dir, prefix, &temp);
  if (fd < 0) {
    close(dir);
    throw failed;
  }
  bool written = true;
  if (exists_) {
    written = fchmod(fd, mode_) == 0;
    // Only root can give a file away (root editing a user's settings); the
    // file must stay its owner's.
    if (written && geteuid() == 0 && (uid_ != 0 || gid_ != 0)) {
      written = fchown(fd, uid_, gid_) == 0;
    }
  }
  written = written && WriteAllBytes(fd, data) && fsync(fd) == 0;
  // The lock is held until the name is gone, so no other save mistakes the
  // file for a dead one's leftover.
  const bool renamed =
      written && renameat(dir, temp.c_str(), dir, BaseName(target_path_).c_str()) == 0;
  if (!renamed) unlinkat(dir, temp.c_str(), 0);
  close(fd);
  if (!renamed) {
    close(dir);
    throw failed;
  }
  // Makes the rename itself durable. The new file is in place either way,
  // so a failure here is not one the user could act on.
  fsync(dir);
  close(dir);
}

void FileSettingsStore::CloseKey() {
  open_ = false;
  lines_.clear();
  first_staged_.clear();
}

}  // namespace qv
