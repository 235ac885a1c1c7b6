// Process entry of quorvelian.scr: the screen-saver host's command line goes
// to the shared mode dispatch, which starts exactly one front-end.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "app/entry.h"
#include "app/shells_win32.h"
#include "password/password_win32.h"

namespace qv {
namespace {

class Win32FrontEnds final : public FrontEnds {
 public:
  Win32FrontEnds(HINSTANCE instance, SceneState& scene, GeometryStore& store)
      : instance_(instance), scene_(scene), store_(store) {}

  int RunFullScreen() override { return RunFullScreenWindow(instance_, scene_, store_); }
  int RunSettings() override { return RunSettingsWindow(instance_, scene_, store_); }
  int RunPreview(std::int32_t parent) override {
    return RunPreviewWindow(instance_, scene_, store_, parent);
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
