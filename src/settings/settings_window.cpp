#include "settings/settings_window.h"

#include <algorithm>

#include "gl/scene_gl.h"
#include "scene/frame_director.h"
#include "settings/dpi_layout.h"
#include "store/settings.h"

namespace qv {

TForm2::TForm2(SceneState& scene, GeometryStore& store, const Host& host)
    : scene_(scene), store_(store), window_(host.window), gl_(host.gl), services_(host.services) {
  for (std::size_t i = 0; i < kSliders.size(); ++i) positions_[i] = kSliders[i].design;
}

void TForm2::FormCreate() {
  try {
    auto settings = services_.OpenSettingsStore();
    LoadSettings(scene_, *settings, kSettingsWindowDefaults);
  } catch (const SettingsError& error) {
    // Sliders keep their design positions, nothing is generated; the first
    // Satiation or Color change that alters the scene generates the geometry.
    services_.ShowErrorBox(error.what());
    return;
  }
  for (std::size_t i = 0; i < kSliderCount; ++i) {
    SetSliderPosition(static_cast<int>(i), scene_.*kSettings[i].member);
  }
  // The handlers above saw clamped positions; the scene runs on the stored
  // values as they stand.
  DeriveSettings(scene_);

  // The design size at 96 DPI, grown with the monitor's scaling.
  const SettingsLayout layout = LayoutForDpi(window_.Dpi());
  const int left = RoundHalfEven((window_.ScreenWidth() - layout.window_width) / 2.0);
  const int top = RoundHalfEven((window_.ScreenHeight() - layout.window_height) / 2.0);
  outer_width_ = layout.window_width;
  outer_height_ = layout.window_height;
  window_.SetBounds(left, top, layout.window_width, layout.window_height);

  CreateContext();
  RegenerateAllSpecies(store_, scene_.MeshDetail, scene_.Frame);
  InitSlots(scene_);
}

bool TForm2::CreateContext() {
  // The window only ever draws with its newest context.
  if (has_context_) {
    gl_.ReleaseGraphics();
    has_context_ = false;
  }
  if (!gl_.CreateGraphics()) {
    window_.RequestClose();
    return false;
  }
  has_context_ = true;
  ApplyProjection();
  ApplyGlState();
  return true;
}

void TForm2::ApplyGlState() {
  GlSink& sink = gl_.Sink();
  sink.ClearColor(0, 0, 0, 0);
  sink.ShadeModel(gl::kSmooth);
  sink.Enable(gl::kDepthTest);
  sink.Enable(gl::kColorMaterial);
  sink.Enable(gl::kBlend);
  sink.BlendFunc(gl::kSrcAlpha, gl::kOneMinusSrcAlpha);
  FillMaterialAndLights(scene_, LightingProfile::kSettingsWindow);
  ApplyMaterialAndLights(sink, scene_);
}

void TForm2::FormActivate() {
  if (!ended_) CreateContext();
}

void TForm2::FormResize() {
  outer_width_ = window_.OuterWidth();
  outer_height_ = window_.OuterHeight();
  ApplyProjection();
}

void TForm2::ApplyProjection() {
  if (!has_context_) return;
  const SettingsLayout layout = LayoutForDpi(window_.Dpi());
  SetProjection(gl_.Sink(), 0, layout.scene_bottom, outer_width_,
                outer_height_ - layout.scene_height_loss, kSceneAspect);
}

void TForm2::FormKeyDown(int key) {
  if (key != kEscapeKey) return;
  if (has_context_) {
    gl_.ReleaseGraphics();
    has_context_ = false;
  }
  ended_ = true;
  window_.Terminate();
}

void TForm2::FormClose() {
  if (has_context_) {
    gl_.ReleaseGraphics();
    has_context_ = false;
  }
  ended_ = true;
}

void TForm2::TimerTimer() {
  Draw();
}

void TForm2::Draw() {
  if (!has_context_ || ended_) return;
  DrawFrame(scene_, store_, gl_.Sink(), kSettingsFrame);
  // A shell that draws its controls over the scene does so inside its swap.
  gl_.SwapBuffers();
}

void TForm2::BitBtn1Click() {
  for (std::size_t i = 0; i < kSliderCount; ++i) scene_.*kSettings[i].member = positions_[i];
  try {
    auto settings = services_.OpenSettingsStore();
    SaveSettings(scene_, *settings);
  } catch (const SettingsError& error) {
    services_.ShowErrorBox(error.what());
  }
}

void TForm2::BitBtn2Click() {
  services_.OpenWebPage(kSiteAddress);
}

void TForm2::SetSliderPosition(int slider, int position) {
  if (slider < 0 || slider >= static_cast<int>(kSliders.size())) return;
  const SliderSpec& spec = kSliders[static_cast<std::size_t>(slider)];
  const int clamped = std::clamp(position, spec.min, spec.max);
  int& current = positions_[static_cast<std::size_t>(slider)];
  if (clamped == current) return;
  current = clamped;
  switch (slider) {
    case 0:
      TrackBar1Change();
      break;
    case 1:
      TrackBar2Change();
      break;
    case 2:
      TrackBar3Change();
      break;
    case 3:
      TrackBar4Change();
      break;
    case 4:
      TrackBar5Change();
      break;
    default:
      TrackBar6Change();
      break;
  }
}

void TForm2::ApplySlider(std::size_t slider) {
  const SettingSpec& s = kSettings[slider];
  scene_.*s.live_member() = Derive(s.rule, positions_[slider]);
}

void TForm2::TrackBar1Change() {
  ApplySlider(0);
}
void TForm2::TrackBar2Change() {
  ApplySlider(1);
}
void TForm2::TrackBar3Change() {
  ApplySlider(2);
}
void TForm2::TrackBar4Change() {
  ApplySlider(3);
}
void TForm2::TrackBar5Change() {
  ApplySlider(4);
}
void TForm2::TrackBar6Change() {
  ApplySlider(5);
}

}  // namespace qv
