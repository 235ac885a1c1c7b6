#pragma once
// The settings window's design sizes at the monitor's DPI. The design is
// drawn for 96 DPI; on a scaled display every size grows by DPI / 96, so that
// the window keeps its look instead of shrinking (or being stretched blurry
// by the system).

#include <array>

#include "settings/settings_window.h"

namespace qv {

inline constexpr int kDesignDpi = 96;
// The labels' and buttons' font, in pixels at the design DPI.
inline constexpr int kSettingsFontHeight = 13;

// Reported DPIs below the design (or none) keep the design sizes; absurd ones
// are held to the largest scaling the platforms offer (500 %).
int UsableDpi(int dpi);

// Half away from zero, as the system's own MulDiv rounds its scaled metrics.
int ScaleForDpi(int design, int dpi);

struct LayoutRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const LayoutRect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

struct SettingsLayout {
  int dpi = kDesignDpi;
  int window_width = kSettingsWidth;
  int window_height = kSettingsHeight;
  std::array<LayoutRect, kSliderCount> sliders{};
  std::array<LayoutRect, kSliderCount> labels{};
  LayoutRect save_button, site_button;
  int font_height = kSettingsFontHeight;
  int scene_bottom = kSceneBottom;
  int scene_height_loss = kSceneHeightLoss;
};

SettingsLayout LayoutForDpi(int dpi);

}  // namespace qv
