// quorvelian: the Linux desktop saver. Same command line as the Windows
// saver; XScreenSaver's conventions (--root, --window-id, XSCREENSAVER_WINDOW)
// land on the full-screen front-end, which then draws into the given window.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/entry.h"
#include "app/window_id_posix.h"
#include "fullscreen/fullscreen.h"
#include "geometry/geometry_store.h"
#include "platform/sdl/run_loop_sdl.h"
#include "preview/preview.h"
#include "scene/scene_state.h"
#include "settings/settings_controls_sdl.h"
#include "settings/settings_window.h"

namespace {

class DesktopFrontEnds final : public qv::FrontEnds {
 public:
  DesktopFrontEnds(qv::SceneState& scene, qv::GeometryStore& store, std::string first,
                   std::string second)
      : scene_(scene), store_(store), first_(std::move(first)), second_(std::move(second)) {}

  int RunFullScreen() override {
    const auto launch = [this](const qv::Host& host) {
      return qv::Started{std::make_unique<qv::TForm1>(scene_, store_, host), nullptr};
    };
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
    if (window != 0) return qv::RunInForeignWindow(window, launch);
    return qv::RunInOwnWindow(qv::kFullScreenWindow, launch);
  }

  int RunSettings() override {
    return qv::RunInOwnWindow(qv::kSettingsWindow, [this](const qv::Host& host) {
      auto form = std::make_unique<qv::TForm2>(scene_, store_, host);
      auto controls = qv::MakeSettingsControls(*form);
      return qv::Started{std::move(form), std::move(controls)};
    });
  }

  int RunPreview(std::int32_t parent) override {
    const auto launch = [this](const qv::Host& host) {
      return qv::Started{std::make_unique<qv::PreviewScene>(scene_, store_, host), nullptr};
    };
    // X ids are unsigned 32-bit numbers; the handle rule reads them signed.
    const auto window = static_cast<std::uint32_t>(parent);
    if (window != 0) return qv::RunInsideWindow(window, qv::kPreviewCaption, launch);
    return qv::RunInOwnWindow(qv::kPreviewWindow, launch);
  }

  // Desktop sessions change their lock password themselves.
  int ChangeSaverPassword(std::int32_t) override { return 0; }

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
  // XScreenSaver-style options (-speed, --fps, --help ...) are read here,
  // before the mode letter of the first remaining argument.

  // One scene and one geometry store for the process; the store is large, so
  // it lives on the heap rather than the stack.
  auto scene = std::make_unique<qv::SceneState>();
  auto store = std::make_unique<qv::GeometryStore>();
  DesktopFrontEnds fronts(*scene, *store, first, second);
  return qv::RunSaver(first, second, fronts);
}
