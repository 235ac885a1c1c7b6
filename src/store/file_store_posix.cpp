#include "store/file_store_posix.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

bool MakeFolders(const std::string& folder) {
  if (folder.empty()) return false;
  struct stat st {};
  if (stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::string parent = Folder(folder);
  if (parent != folder && !MakeFolders(parent)) return false;
  return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
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

void Warn(const std::string& path, const char* why) {
  std::fprintf(stderr, "quorvelian: settings file %s %s; it is left untouched\n", path.c_str(),
               why);
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

FileSettingsStore::LoadResult FileSettingsStore::Load() {
  lines_.clear();
  target_path_ = file_path_;
  if (file_path_.empty()) return LoadResult::kRefused;
  // Follow a symbolic link so that the rename replaces the file it points to.
  if (char* real = realpath(file_path_.c_str(), nullptr)) {
    target_path_ = real;
    std::free(real);
  }
  const int fd = open(target_path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return LoadResult::kMissing;
    Warn(file_path_, "cannot be read");
    return LoadResult::kRefused;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    Warn(file_path_, "is not a regular file");
    return LoadResult::kRefused;
  }
  std::string data;
  char buffer[8192];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      Warn(file_path_, "cannot be read");
      return LoadResult::kRefused;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
    if (data.size() > kMaxFileBytes) {
      close(fd);
      Warn(file_path_, "is too large");
      return LoadResult::kRefused;
    }
  }
  close(fd);
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t end = data.find('\n', start);
    if (end == std::string::npos) end = data.size();
    lines_.emplace_back(data, start, end - start);
    start = end + 1;
  }
  return LoadResult::kLoaded;
}

bool FileSettingsStore::OpenKey(const std::string& /*path*/) {
  CloseKey();
  open_ = Load() == LoadResult::kLoaded;
  return open_;
}

bool FileSettingsStore::OpenOrCreateKey(const std::string& /*path*/) {
  CloseKey();
  if (file_path_.empty() || !MakeFolders(Folder(file_path_))) return false;
  const LoadResult loaded = Load();
  if (loaded == LoadResult::kRefused) return false;
  if (access(Folder(target_path_).c_str(), W_OK) != 0) return false;
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
  std::vector<std::string> lines = lines_;
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
  if (!Commit(lines)) throw SettingsError(FailedToSet(name));
  lines_ = std::move(lines);
}

bool FileSettingsStore::Commit(const std::vector<std::string>& lines) const {
  std::string data;
  for (const std::string& line : lines) {
    data += line;
    data += '\n';
  }
  const std::string folder = Folder(target_path_);
  std::string temp = folder + "/.settings.ini.XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (stat(target_path_.c_str(), &st) == 0) fchmod(fd, st.st_mode & 07777);
  const bool written = WriteAllBytes(fd, data) && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  if (!written || !closed || rename(temp.c_str(), target_path_.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable.
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

void FileSettingsStore::CloseKey() {
  open_ = false;
  lines_.clear();
}

}  // namespace qv
