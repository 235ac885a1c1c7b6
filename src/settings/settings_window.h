#pragma once
// TForm2: the settings window, the live scene above six sliders.

#include <array>

#include "app/front_end.h"
#include "app/host.h"
#include "geometry/geometry_store.h"
#include "scene/scene_state.h"
#include "store/settings_table.h"

namespace qv {

inline constexpr const char* kSettingsCaption = "Quorvelian Settings";
inline constexpr const char* kSiteAddress = "https://www.quorvelian.example/";
inline constexpr int kSettingsWidth = 400;
inline constexpr int kSettingsHeight = 440;
// Design place and size; FormCreate centres the window at its final size.
inline constexpr WindowSpec kSettingsWindow{
    kSettingsCaption, WindowKind::kDialog, 320, 142, 414, 440, kFrameIntervalMs};
// The scene's viewport: its bottom edge in window pixels from the window's
// bottom, and how much less than the window's outer height it is; the aspect
// stays fixed whatever the window's size.
inline constexpr int kSceneBottom = 110;
inline constexpr int kSceneHeightLoss = 140;
inline constexpr double kSceneAspect = 1.33333;
inline constexpr int kEscapeKey = 27;
inline constexpr unsigned kLabelColour = 0xE1E1E1;  // RGB(225, 225, 225)

struct SliderSpec {
  const char* label;  // its StaticText caption
  int min, max;
  int design;     // position before the stored value is applied
  int left, top;  // slider, client pixels
  int label_left, label_top, label_width;
};

namespace settings_window_detail {
// Where each slider and its label sit; everything else comes from the table
// of settings, slider i showing setting i.
struct SliderPlace {
  int left, top, label_left, label_top, label_width;
};
inline constexpr std::array<SliderPlace, kSliderCount> kSliderPlaces = {{
    {3, 320, 17, 300, 51},
    {3, 357, 17, 340, 78},
    {128, 320, 142, 300, 66},
    {128, 357, 142, 340, 35},
    {256, 320, 270, 300, 65},
    {256, 357, 270, 340, 42},
}};
constexpr std::array<SliderSpec, kSliderCount> MakeSliders() {
  std::array<SliderSpec, kSliderCount> sliders{};
  for (std::size_t i = 0; i < kSliderCount; ++i) {
    const SettingSpec& s = kSettings[i];
    const SliderPlace& p = kSliderPlaces[i];
    sliders[i] = {s.caption, s.min,        s.max,       s.design,     p.left,
                  p.top,     p.label_left, p.label_top, p.label_width};
  }
  return sliders;
}
}  // namespace settings_window_detail

inline constexpr std::array<SliderSpec, kSliderCount> kSliders =
    settings_window_detail::MakeSliders();
inline constexpr int kSliderWidth = 120;
inline constexpr int kSliderHeight = 10;

struct ButtonSpec {
  const char* caption;
  int left, top, width, height;
};
inline constexpr ButtonSpec kSaveButton{"Save Settings", 9, 375, 110, 20};
inline constexpr ButtonSpec kSiteButton{"Our Site", 134, 376, 110, 20};

class TForm2 final : public FrontEnd {
 public:
  TForm2(SceneState& scene, GeometryStore& store, const Host& host);

  const WindowSpec& Spec() const override { return kSettingsWindow; }
  void FormCreate() override;
  void FormActivate() override;
  // Follows the window's outer size.
  void FormResize() override;
  void FormKeyDown(int key) override;
  void TimerTimer() override;
  // The mouse is the controls' business.
  void FormMouseMove() override {}
  // The close box: the context goes, nothing is saved.
  void FormClose() override;
  void FormPaint() override {}
  void Draw();
  void BitBtn1Click();  // "Save Settings"
  void BitBtn2Click();  // "Our Site"

  // Moves slider 0..5 (TrackBar1..TrackBar6); the position is clamped to the
  // range and the change handler runs only when it really changed.
  void SetSliderPosition(int slider, int position);
  int SliderPosition(int slider) const { return positions_[static_cast<std::size_t>(slider)]; }

  void TrackBar1Change();
  void TrackBar2Change();
  void TrackBar3Change();
  void TrackBar4Change();
  void TrackBar5Change();
  void TrackBar6Change();

  bool ended() const { return ended_; }

 private:
  bool CreateContext();
  void ApplyProjection();
  void ApplyGlState();

  SceneState& scene_;
  GeometryStore& store_;
  HostWindow& window_;
  GlContext& gl_;
  Services& services_;
  // The live effect of slider i's position on the scene.
  void ApplySlider(std::size_t slider);

  std::array<int, kSliderCount> positions_{};
  int outer_width_ = kSettingsWidth;
  int outer_height_ = kSettingsHeight;
  bool has_context_ = false;
  bool ended_ = false;
};

}  // namespace qv
