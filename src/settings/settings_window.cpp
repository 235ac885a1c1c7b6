#include "settings/settings_window.h"

#include <algorithm>

#include "gl/scene_gl.h"
#include "scene/frame_director.h"
#include "store/settings.h"

namespace qv {

namespace {
// The settings window's scene sits above the sliders and keeps this aspect
// whatever the window's size.
constexpr double kSceneAspect = 1.33333;
constexpr int kSceneBottom = 110;
constexpr int kSceneHeightLoss = 140;
}  // namespace

TForm2::TForm2(SceneState& scene, GeometryStore& store, WindowHost& host)
    : scene_(scene), store_(store), host_(host) {
  for (std::size_t i = 0; i < kSliders.size(); ++i) positions_[i] = kSliders[i].design;
}

void TForm2::FormCreate() {
  try {
    auto settings = host_.OpenSettingsStore();
    LoadSettings(scene_, *settings, kSettingsWindowDefaults);
  } catch (const SettingsError& error) {
    // Sliders keep their design positions, nothing is generated; the first
    // Satiation or Color change that alters the scene generates the geometry.
    host_.ShowErrorBox(error.what());
    return;
  }
  for (std::size_t i = 0; i < kSliderCount; ++i) {
    SetSliderPosition(static_cast<int>(i), scene_.*kSettings[i].member);
  }
  // The handlers above saw clamped positions; the scene runs on the stored
  // values as they stand.
  DeriveSettings(scene_);

  const int left = RoundHalfEven((host_.ScreenWidth() - kSettingsWidth) / 2.0);
  const int top = RoundHalfEven((host_.ScreenHeight() - kSettingsHeight) / 2.0);
  outer_width_ = kSettingsWidth;
  outer_height_ = kSettingsHeight;
  host_.SetBounds(left, top, kSettingsWidth, kSettingsHeight);

  CreateContext();
  RegenerateAllSpecies(store_, scene_.MeshDetail, scene_.Frame);
  InitSlots(scene_);
}

bool TForm2::CreateContext() {
  // The window only ever draws with its newest context.
  if (has_context_) {
    host_.ReleaseGraphics();
    has_context_ = false;
  }
  if (!host_.CreateGraphics()) {
    host_.RequestClose();
    return false;
  }
  has_context_ = true;
  FormResize(outer_width_, outer_height_);
  ApplyGlState();
  return true;
}

void TForm2::ApplyGlState() {
  GlSink& sink = host_.Sink();
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

void TForm2::FormResize(int outer_width, int outer_height) {
  outer_width_ = outer_width;
  outer_height_ = outer_height;
  if (!has_context_) return;
  SetProjection(host_.Sink(), 0, kSceneBottom, outer_width, outer_height - kSceneHeightLoss,
                kSceneAspect);
}

void TForm2::FormKeyDown(int key) {
  if (key != kEscapeKey) return;
  if (has_context_) {
    host_.ReleaseGraphics();
    has_context_ = false;
  }
  ended_ = true;
  host_.Terminate();
}

void TForm2::TimerTimer() { Draw(); }

void TForm2::Draw() {
  if (!has_context_ || ended_) return;
  DrawFrame(scene_, store_, host_.Sink(), kSettingsFrame);
  // A shell that draws its controls over the scene does so inside its swap.
  host_.SwapBuffers();
}

void TForm2::BitBtn1Click() {
  for (std::size_t i = 0; i < kSliderCount; ++i) scene_.*kSettings[i].member = positions_[i];
  try {
    auto settings = host_.OpenSettingsStore();
    SaveSettings(scene_, *settings);
  } catch (const SettingsError& error) {
    host_.ShowErrorBox(error.what());
  }
}

void TForm2::BitBtn2Click() { host_.OpenWebPage(kSiteAddress); }

void TForm2::SetSliderPosition(int slider, int position) {
  if (slider < 0 || slider >= static_cast<int>(kSliders.size())) return;
  const SliderSpec& spec = kSliders[static_cast<std::size_t>(slider)];
  const int clamped = std::clamp(position, spec.min, spec.max);
  int& current = positions_[static_cast<std::size_t>(slider)];
  if (clamped == current) return;
  current = clamped;
  switch (slider) {
    case 0: TrackBar1Change(); break;
    case 1: TrackBar2Change(); break;
    case 2: TrackBar3Change(); break;
    case 3: TrackBar4Change(); break;
    case 4: TrackBar5Change(); break;
    default: TrackBar6Change(); break;
  }
}

void TForm2::ApplySlider(std::size_t slider) {
  const SettingSpec& s = kSettings[slider];
  scene_.*s.live_member() = Derive(s.rule, positions_[slider]);
}

void TForm2::TrackBar1Change() { ApplySlider(0); }
void TForm2::TrackBar2Change() { ApplySlider(1); }
void TForm2::TrackBar3Change() { ApplySlider(2); }
void TForm2::TrackBar4Change() { ApplySlider(3); }
void TForm2::TrackBar5Change() { ApplySlider(4); }
void TForm2::TrackBar6Change() { ApplySlider(5); }

}  // namespace qv
