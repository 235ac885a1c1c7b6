// Process entry of quorvelian.scr: the screen-saver host's command line goes
// to the shared mode dispatch, which starts exactly one front-end on the
// platform's message loop.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "app/entry.h"
#include "fullscreen/fullscreen.h"
#include "geometry/geometry_store.h"
#include "platform/win32/message_loop_win32.h"
#include "platform/win32/password_win32.h"
#include "preview/preview.h"
#include "scene/scene_state.h"
#include "settings/settings_controls_win32.h"
#include "settings/settings_window.h"

#ifdef QV_PREVIEW_PIXEL_REPORT
#include "pixel_report_win32.h"
#endif

namespace qv {
namespace {

class Win32FrontEnds final : public FrontEnds {
 public:
  Win32FrontEnds(HINSTANCE instance, SceneState& scene, GeometryStore& store)
      : instance_(instance), scene_(scene), store_(store) {}

  int RunFullScreen() override {
    return RunWindow(instance_, kFullScreenWindow, nullptr, [this](const Host& host) {
      return Started{std::make_unique<TForm1>(scene_, store_, host), nullptr};
    });
  }

  int RunSettings() override {
    return RunWindow(instance_, kSettingsWindow, nullptr, [this](const Host& host) {
      auto form = std::make_unique<TForm2>(scene_, store_, host);
      auto controls = MakeSettingsControls(*form);
      return Started{std::move(form), std::move(controls)};
    });
  }

  int RunPreview(std::int32_t parent_handle) override {
    // Handles are 32-bit values even in a 64-bit process; sign extension is
    // how Windows widens them.
    auto parent = reinterpret_cast<HWND>(static_cast<INT_PTR>(parent_handle));
    // A stale or garbage handle from the command line gets the pop-up, not a
    // child of nothing.
    if (parent != nullptr && !IsWindow(parent)) parent = nullptr;
    return RunWindow(instance_, kPreviewWindow, parent, [this](const Host& host) {
      Started started{std::make_unique<PreviewScene>(scene_, store_, host), nullptr};
#ifdef QV_PREVIEW_PIXEL_REPORT
      started.controls = MakePixelReport();
#endif
      return started;
    });
  }

  int ChangeSaverPassword(std::int32_t owner) override {
    qv::ChangeSaverPassword(reinterpret_cast<HWND>(static_cast<INT_PTR>(owner)));
    return 0;
  }

 private:
  HINSTANCE instance_;
  SceneState& scene_;
  GeometryStore& store_;
};

std::string_view Argument(int index) {
  // The C runtime has already split the command line with the platform's
  // quoting rules; a host that passes fewer arguments gets empty ones.
  if (index >= __argc || __argv == nullptr || __argv[index] == nullptr) return {};
  return __argv[index];
}

}  // namespace
}  // namespace qv

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // One scene and one geometry store for the whole process; the geometry is
  // far too big for the stack.
  auto scene = std::make_unique<qv::SceneState>();
  auto store = std::make_unique<qv::GeometryStore>();
  qv::Win32FrontEnds fronts(instance, *scene, *store);
  return qv::RunSaver(qv::Argument(1), qv::Argument(2), fronts);
}
