#include "settings/dpi_layout.h"

#include <algorithm>
#include <climits>

namespace qv {

namespace {
constexpr int kMaxDpi = kDesignDpi * 5;
// Labels are as tall as the caption strip above each slider.
constexpr int kLabelHeight = 20;

LayoutRect Scaled(int left, int top, int width, int height, int dpi) {
  return {ScaleForDpi(left, dpi), ScaleForDpi(top, dpi), ScaleForDpi(width, dpi),
          ScaleForDpi(height, dpi)};
}
}  // namespace

int UsableDpi(int dpi) {
  return std::clamp(dpi, kDesignDpi, kMaxDpi);
}

int ScaleForDpi(int design, int dpi) {
  const long long product = static_cast<long long>(design) * UsableDpi(dpi);
  const long long half = kDesignDpi / 2;
  const long long scaled =
      product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi);
  return static_cast<int>(std::clamp<long long>(scaled, INT_MIN, INT_MAX));
}

SettingsLayout LayoutForDpi(int dpi) {
  SettingsLayout layout;
  layout.dpi = UsableDpi(dpi);
  const int d = layout.dpi;
  layout.window_width = ScaleForDpi(kSettingsWidth, d);
  layout.window_height = ScaleForDpi(kSettingsHeight, d);
  for (std::size_t i = 0; i < kSliderCount; ++i) {
    const SliderSpec& s = kSliders[i];
    layout.sliders[i] = Scaled(s.left, s.top, kSliderWidth, kSliderHeight, d);
    layout.labels[i] = Scaled(s.label_left, s.label_top, s.label_width, kLabelHeight, d);
  }
  layout.save_button =
      Scaled(kSaveButton.left, kSaveButton.top, kSaveButton.width, kSaveButton.height, d);
  layout.site_button =
      Scaled(kSiteButton.left, kSiteButton.top, kSiteButton.width, kSiteButton.height, d);
  layout.font_height = ScaleForDpi(kSettingsFontHeight, d);
  layout.scene_bottom = ScaleForDpi(kSceneBottom, d);
  layout.scene_height_loss = ScaleForDpi(kSceneHeightLoss, d);
  return layout;
}

}  // namespace qv
