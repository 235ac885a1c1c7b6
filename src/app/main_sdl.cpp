// quorvelian: the Linux desktop saver. Same command line as the Windows
// saver, plus XScreenSaver's conventions: the options of app/options.h, and
// --root, --window-id or XSCREENSAVER_WINDOW, which land on the full-screen
// front-end, drawing into the given window with the options' settings.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/entry.h"
#include "app/options.h"
#include "app/saver_options.h"
#include "app/window_id_posix.h"
#include "fullscreen/fullscreen.h"
#include "geometry/geometry_store.h"
#include "platform/sdl/run_loop_sdl.h"
#include "platform/sdl/stop_signals.h"
#include "preview/preview.h"
#include "scene/scene_state.h"
#include "settings/settings_controls_sdl.h"
#include "settings/settings_window.h"

namespace {

double SteadySeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

class DesktopFrontEnds final : public qv::FrontEnds {
 public:
  DesktopFrontEnds(qv::SceneState& scene, qv::GeometryStore& store, const qv::CommandLine& line)
      : scene_(scene), store_(store), line_(line) {}

  int RunFullScreen() override {
    unsigned long window = 0;
    std::string named_by;
    const char* env = std::getenv("XSCREENSAVER_WINDOW");
    const bool env_set = env != nullptr && env[0] != '\0';
    if (env_set) {
      named_by = std::string("XSCREENSAVER_WINDOW=") + env;
      window = qv::ParseXWindowId(env);
    } else if (line_.window_id.has_value()) {
      named_by = "--window-id " + *line_.window_id;
      window = qv::ParseXWindowId(*line_.window_id);
    }
    if (!named_by.empty() && window == 0) {
      std::fprintf(stderr, "quorvelian: %s is not an X window id\n", named_by.c_str());
      return 2;
    }
    // Under XScreenSaver, as for its own modules, the settings are the
    // options; the settings file stays untouched.
    std::unique_ptr<qv::FixedSettingsServices> services;
    const bool from_options = qv::SettingsFromCommandLine(line_, env_set);
    const qv::SettingValues values = qv::SettingsFromOptions(line_);
    const bool fps = line_.fps;
    const auto launch = [this, from_options, values, fps, &services](const qv::Host& given) {
      if (from_options)
        services = std::make_unique<qv::FixedSettingsServices>(given.services, values);
      const qv::Host host{given.window, given.gl, services ? *services : given.services};
      const auto make = [this](const qv::Host& h) -> std::unique_ptr<qv::FrontEnd> {
        return std::make_unique<qv::TForm1>(scene_, store_, h);
      };
      if (!fps) return qv::Started{make(host), nullptr};
      return qv::Started{std::make_unique<qv::FpsFrontEnd>(host, scene_, SteadySeconds, make),
                         nullptr};
    };
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
  const qv::CommandLine& line_;
};

}  // namespace

int main(int argc, char** argv) {
  // A stop signal during start-up (the geometry store, the display) ends the
  // program normally, as one that comes later does.
  qv::CatchStopSignals();
  qv::CommandLine line;
  try {
    line = qv::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const qv::OptionError& error) {
    std::fprintf(stderr, "quorvelian: %s\n", error.what());
    return 2;
  }
  if (line.help) {
    std::fputs(qv::UsageText("quorvelian").c_str(), stdout);
    return 0;
  }
  if (line.version) {
    std::fputs(qv::VersionText().c_str(), stdout);
    return 0;
  }
  if (const std::string conflict = qv::ModeConflict(line); !conflict.empty()) {
    std::fprintf(stderr, "quorvelian: %s\n", conflict.c_str());
    return 2;
  }

  // One scene and one geometry store for the process; the store is large, so
  // it lives on the heap rather than the stack.
  auto scene = std::make_unique<qv::SceneState>();
  auto store = std::make_unique<qv::GeometryStore>();
  DesktopFrontEnds fronts(*scene, *store, line);
  return qv::RunSaver(line.First(), line.Second(), fronts);
}
