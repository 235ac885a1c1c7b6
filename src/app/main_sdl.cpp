// quorvelian: the Linux desktop saver. Same command line as the Windows
// saver; XScreenSaver's conventions (--root, --window-id, XSCREENSAVER_WINDOW)
// land on the full-screen front-end, which then draws into the given window.

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/entry.h"
#include "app/shells_sdl.h"
#include "app/window_id_posix.h"
#include "geometry/geometry_store.h"
#include "password/password_posix.h"
#include "scene/scene_state.h"

namespace {

class DesktopFrontEnds final : public qv::FrontEnds {
 public:
  DesktopFrontEnds(qv::SceneState& scene, qv::GeometryStore& store, std::string first,
                   std::string second)
      : scene_(scene), store_(store), first_(std::move(first)), second_(std::move(second)) {}

  int RunFullScreen() override {
    unsigned long window = 0;
    std::string named_by;
    if (const char* env = std::getenv("XSCREENSAVER_WINDOW"); env != nullptr && env[0] != '\0') {
      named_by = std::string("XSCREENSAVER_WINDOW=") + env;
      window = qv::ParseXWindowId(env);
    } else if (first_ == "--window-id") {
      named_by = "--window-id " + second_;
      window = qv::ParseXWindowId(second_);
    }
    if (!named_by.empty() && window == 0) {
      std::fprintf(stderr, "quorvelian: %s is not an X window id\n", named_by.c_str());
      return 2;
    }
    return qv::RunFullScreenShell(scene_, store_, window);
  }

  int RunSettings() override { return qv::RunSettingsShell(scene_, store_); }

  int RunPreview(std::int32_t parent) override {
    // X ids are unsigned 32-bit numbers; the handle rule reads them signed.
    return qv::RunPreviewShell(scene_, store_, static_cast<std::uint32_t>(parent));
  }

  int ChangeSaverPassword(std::int32_t owner) override {
    qv::ChangeSaverPassword(owner);
    return 0;
  }

 private:
  qv::SceneState& scene_;
  qv::GeometryStore& store_;
  std::string first_;
  std::string second_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  const std::string second = argc > 2 ? argv[2] : "";
  // One scene and one geometry store for the process; the store is large, so
  // it lives on the heap rather than the stack.
  auto scene = std::make_unique<qv::SceneState>();
  auto store = std::make_unique<qv::GeometryStore>();
  DesktopFrontEnds fronts(*scene, *store, first, second);
  const int code = qv::RunSaver(first, second, fronts);
  SDL_Quit();
  return code;
}
