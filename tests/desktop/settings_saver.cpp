// Saves the seven settings through the real file store, the way "Save
// Settings" does, COUNT times (0: until killed). Save k stores
// Fast = 10k, Bright = 10k + 1, ..., Clock = 10k + 6, so a reader can tell
// whether a file holds one save whole.
//   settings-saver FILE FIRST_K COUNT

#include <cstdio>
#include <cstdlib>
#include <string>

#include "store/file_store_posix.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: settings-saver FILE FIRST_K COUNT\n");
    return 2;
  }
  const std::string file = argv[1];
  const long first = std::strtol(argv[2], nullptr, 10);
  const long count = std::strtol(argv[3], nullptr, 10);
  for (long k = first; count == 0 || k < first + count; ++k) {
    qv::SceneState scene;
    qv::SettingValues values{};
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<int>(k * 10) + int(i);
    qv::AssignSettings(scene, values);
    qv::FileSettingsStore store(file);
    try {
      qv::SaveSettings(scene, store);
    } catch (const qv::SettingsError& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
  }
  return 0;
}
