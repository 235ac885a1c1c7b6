// Any settings file, loaded through the settings model, saved and loaded
// again. What must hold whatever the file held:
//   - a file that fails to load is left byte for byte as it was;
//   - after the save, every one of the seven values reads back as saved, and
//     each name stands exactly once in our section;
//   - every other line (comments, blank lines, other sections, garbage) is
//     still there, in the same order, and no line was added but ours (and our
//     section's header when the file was empty);
//   - no temporary file is left beside the settings file.
// The file format (sections, "Name=value", ASCII case-insensitive names) is
// re-read here by its own small reader rather than by the store's code.
#include <dirent.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "store/file_store_posix.h"
#include "store/settings.h"

namespace {

[[noreturn]] void Fail(const std::string& why, const std::string& before,
                       const std::string& after) {
  std::fprintf(stderr,
               "settings file check failed: %s\n--- file before ---\n%s\n--- after ---\n%s\n",
               why.c_str(), before.c_str(), after.c_str());
  std::abort();
}

std::string folder_path;

void RemoveFolder() {
  unlink((folder_path + "/settings.ini").c_str());
  rmdir(folder_path.c_str());
}

// Every save syncs the file; in memory that costs nothing, so the runs stay
// fast.
const std::string& Folder() {
  if (folder_path.empty()) {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string name = std::string(base) + "/qv-fuzz-settings-XXXXXX";
    if (mkdtemp(name.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    folder_path = name;
    std::atexit(RemoveFolder);
  }
  return folder_path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << data;
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* d = opendir(folder.c_str())) {
    while (const dirent* e = readdir(d)) {
      const std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
  }
  return names;
}

std::vector<std::string> Lines(const std::string& data) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t end = data.find('\n', start);
    if (end == std::string::npos) end = data.size();
    lines.push_back(data.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string Trimmed(const std::string& s) {
  const char* blanks = " \t\r";
  const std::size_t a = s.find_first_not_of(blanks);
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(blanks) - a + 1);
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return s;
}

// Which of the seven names a line sets in our section (-1 for none).
// Lines before any header belong to our section, as do lines under every
// [Quorvelian] header.
std::vector<int> SettingOfLine(const std::vector<std::string>& lines) {
  std::vector<int> which(lines.size(), -1);
  bool ours = true;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string t = Trimmed(lines[i]);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
      ours = Lower(Trimmed(t.substr(1, t.size() - 2))) == "quorvelian";
      continue;
    }
    if (!ours || t.empty() || t[0] == ';' || t[0] == '#') continue;
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos) continue;
    const std::string name = Lower(Trimmed(t.substr(0, eq)));
    for (std::size_t n = 0; n < qv::kSettingCount; ++n) {
      if (name == Lower(qv::kSettings[n].name)) which[i] = static_cast<int>(n);
    }
  }
  return which;
}

std::vector<std::string> Foreign(const std::vector<std::string>& lines) {
  const std::vector<int> which = SettingOfLine(lines);
  std::vector<std::string> out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (which[i] < 0) out.push_back(lines[i]);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string folder = Folder();
  const std::string path = folder + "/settings.ini";
  const std::string before(reinterpret_cast<const char*>(data), size);
  WriteFile(path, before);

  qv::SceneState scene;
  {
    qv::FileSettingsStore store(path);
    try {
      qv::LoadSettings(scene, store, qv::kSettingsWindowDefaults);
    } catch (const qv::SettingsError&) {
      if (ReadFile(path) != before) Fail("a failed load changed the file", before, ReadFile(path));
    }
  }
  const qv::SettingValues values = qv::SettingsOf(scene);
  {
    qv::FileSettingsStore store(path);
    try {
      qv::SaveSettings(scene, store);
    } catch (const qv::SettingsError& e) {
      Fail(std::string("save failed: ") + e.what(), before, ReadFile(path));
    }
  }
  const std::string after = ReadFile(path);

  // Reading back through the store.
  {
    qv::FileSettingsStore store(path);
    if (!store.OpenKey(qv::kSettingsKeyPath)) Fail("saved file does not open", before, after);
    for (std::size_t n = 0; n < qv::kSettingCount; ++n) {
      std::int32_t v = 0;
      try {
        v = store.ReadInteger(qv::kSettings[n].name);
      } catch (const qv::SettingsError& e) {
        Fail(std::string("reading back: ") + e.what(), before, after);
      }
      if (v != values[n]) {
        Fail(std::string(qv::kSettings[n].name) + " reads back as " + std::to_string(v) +
                 ", saved " + std::to_string(values[n]),
             before, after);
      }
    }
    store.CloseKey();
  }

  // Reading back by this file's own reader: each name once, with its value.
  const std::vector<std::string> lines = Lines(after);
  const std::vector<int> which = SettingOfLine(lines);
  for (std::size_t n = 0; n < qv::kSettingCount; ++n) {
    int count = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (which[i] != static_cast<int>(n)) continue;
      ++count;
      const std::string value = Trimmed(lines[i].substr(lines[i].find('=') + 1));
      if (value != std::to_string(values[n])) {
        Fail(std::string(qv::kSettings[n].name) + " stands as '" + value + "'", before, after);
      }
    }
    if (count != 1) {
      Fail(std::string(qv::kSettings[n].name) + " stands " + std::to_string(count) + " times",
           before, after);
    }
  }

  // Foreign lines: the same, in the same order, nothing added but a header.
  std::vector<std::string> wanted = Foreign(Lines(before));
  const std::vector<std::string> got = Foreign(lines);
  if (wanted.empty() && got == std::vector<std::string>{"[Quorvelian]"}) wanted = got;
  if (got != wanted) Fail("lines other than the seven values changed", before, after);

  const std::vector<std::string> entries = Entries(folder);
  if (entries.size() != 1 || entries[0] != "settings.ini") {
    std::string list;
    for (const std::string& e : entries) list += e + " ";
    Fail("the folder holds: " + list, before, after);
  }
  return 0;
}
