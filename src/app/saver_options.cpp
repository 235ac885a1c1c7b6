#include "app/saver_options.h"

#include "app/options.h"
#include "gl/scene_gl.h"

namespace qv {

std::unique_ptr<SettingsStore> FixedSettingsServices::OpenSettingsStore() {
  return MakeFixedSettingsStore(values_);
}

FpsFrontEnd::FpsFrontEnd(const Host& host, const SceneState& scene, SecondsClock clock,
                         const MakeFrontEnd& make)
    : window_(host.window),
      gl_(host.gl),
      scene_(scene),
      clock_(std::move(clock)),
      host_{host.window, *this, host.services},
      inner_(make(host_)) {}

void FpsFrontEnd::TimerTimer() {
  meter_.FrameBegin(clock_());
  inner_->TimerTimer();
}

void FpsFrontEnd::SwapBuffers() {
  // The glyphs were built for the width the window had then; the saver's
  // window keeps its width, so the same formula gives their height.
  DrawFpsOverlay(gl_.Sink(), scene_.FontListBase, CaptionFontHeight(window_.ClientWidth()),
                 window_.ClientWidth(), window_.ClientHeight(), meter_);
  meter_.FrameEnd(clock_());
  gl_.SwapBuffers();
}

}  // namespace qv
