#pragma once
// What the command-line options change about the full-screen saver, as
// wrappers around what the platform hands it: a settings service that
// serves the options instead of the settings file, and --fps, which times
// every frame and draws the reading just before the frame is shown.

#include <functional>
#include <memory>

#include "app/front_end.h"
#include "app/host.h"
#include "gl/fps_overlay.h"
#include "scene/scene_state.h"
#include "store/settings.h"

namespace qv {

// Everything as `inner` does it, except that every settings store holds
// `values` and keeps nothing.
class FixedSettingsServices final : public Services {
 public:
  FixedSettingsServices(Services& inner, const SettingValues& values)
      : inner_(inner), values_(values) {}
  void ShowErrorBox(const std::string& text) override { inner_.ShowErrorBox(text); }
  bool VerifyPassword() override { return inner_.VerifyPassword(); }
  std::unique_ptr<SettingsStore> OpenSettingsStore() override;
  void OpenWebPage(const char* address) override { inner_.OpenWebPage(address); }

 private:
  Services& inner_;
  SettingValues values_;
};

// Seconds on a steady clock.
using SecondsClock = std::function<double()>;
using MakeFrontEnd = std::function<std::unique_ptr<FrontEnd>(const Host& host)>;

// A front-end made by `make` against a host whose GL context is this
// object: each timer tick starts a frame, each buffer swap ends it after
// the frame rate has been drawn with the scene's caption glyphs.
class FpsFrontEnd final : public FrontEnd, private GlContext {
 public:
  FpsFrontEnd(const Host& host, const SceneState& scene, SecondsClock clock,
              const MakeFrontEnd& make);

  const WindowSpec& Spec() const override { return inner_->Spec(); }
  void FormCreate() override { inner_->FormCreate(); }
  void FormActivate() override { inner_->FormActivate(); }
  void FormResize() override { inner_->FormResize(); }
  void TimerTimer() override;
  void FormKeyDown(int key) override { inner_->FormKeyDown(key); }
  void FormMouseMove() override { inner_->FormMouseMove(); }
  void FormClose() override { inner_->FormClose(); }
  void FormPaint() override { inner_->FormPaint(); }

  const FrameRateMeter& meter() const { return meter_; }

 private:
  bool CreateGraphics() override { return gl_.CreateGraphics(); }
  void ReleaseGraphics() override { gl_.ReleaseGraphics(); }
  GlSink& Sink() override { return gl_.Sink(); }
  CaptionGlyphs& Glyphs() override { return gl_.Glyphs(); }
  void SwapBuffers() override;

  HostWindow& window_;
  GlContext& gl_;
  const SceneState& scene_;
  SecondsClock clock_;
  FrameRateMeter meter_;
  Host host_;
  std::unique_ptr<FrontEnd> inner_;
};

}  // namespace qv
