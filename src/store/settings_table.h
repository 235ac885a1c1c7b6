#pragma once
// The seven stored settings, once. The model, the stores, the settings
// window's sliders, quorvelian-render's options and the XScreenSaver options
// all read this table, so adding or changing a setting happens here only.

#include <array>
#include <cstddef>

#include "scene/scene_state.h"

namespace qv {

// How a setting's value becomes the scene value(s) it drives.
enum class Derivation {
  kAsIs,   // the value itself
  kHalf,   // value / 2 to the nearest integer, halves to even
  kThird,  // value / 3 to the nearest integer, halves to even
};

struct SettingSpec {
  const char* name;         // stored value name, also the setting's name in the scene
  int SceneState::*member;  // the in-memory copy

  // The slider that shows it; a setting without one (Clock) has caption
  // nullptr and is only stored and written back.
  const char* caption;
  int min, max;  // slider range; also the range an option for it accepts
  int design;    // slider position before the stored value is applied
  // Command-line option name (without dashes) of an XScreenSaver-style
  // front-end: the caption in lower case.
  const char* option;
  const char* meaning;  // one line for help texts

  // First-run values per front-end and the preview's fixed values.
  int full_screen_default;
  int settings_window_default;
  int preview_value;

  // Scene values computed from the setting when it is loaded, and what a
  // slider movement writes live: `live` (the first of these, or the setting
  // itself when there is none) gets Derive(rule, position). Loading also
  // writes `also`, so MeshDetail starts equal to RequestedMeshDetail.
  Derivation rule;
  int SceneState::*live;  // nullptr: the slider writes `member`
  int SceneState::*also;  // nullptr: nothing more

  constexpr bool has_slider() const { return caption != nullptr; }
  constexpr int SceneState::*live_member() const { return live != nullptr ? live : member; }
};

inline constexpr std::size_t kSettingCount = 7;

// In the order in which the values are always read and written.
inline constexpr std::array<SettingSpec, kSettingCount> kSettings = {{
    {"Fast", &SceneState::Fast, "Speed", 0, 10, 7, "speed",
     "turning speed: the arrangement turns by a fifth of it in degrees per frame", 5, 3, 5,
     Derivation::kAsIs, nullptr, nullptr},
    {"Bright", &SceneState::Bright, "Brightness", 0, 10, 7, "brightness",
     "light intensity: the lights shine at a tenth of it times their factor", 10, 10, 10,
     Derivation::kAsIs, &SceneState::RequestedBright, nullptr},
    {"Satiation", &SceneState::Satiation, "Satiation", 2, 10, 2, "satiation",
     "mesh density: the flowers' grids get half of it (1 to 5) in detail", 5, 5, 5,
     Derivation::kHalf, &SceneState::RequestedMeshDetail, &SceneState::MeshDetail},
    {"Size", &SceneState::Size, "Size", 0, 14, 0, "size",
     "distance of the flowers: they stand at depth size - 20", 7, 12, 12, Derivation::kAsIs,
     nullptr, nullptr},
    {"Snow", &SceneState::Snow, "Primitive", 0, 10, 0, "primitive",
     "drawing primitive by thirds: points, sparkles, quads, fading triangles", 0, 0, 7,
     Derivation::kThird, &SceneState::PrimitiveMode, nullptr},
    {"Frame", &SceneState::Frame, "Color", 1, 9, 2, "color",
     "colour strength: colours fade towards white by 1/value; 1 draws greys", 5, 7, 7,
     Derivation::kAsIs, &SceneState::RequestedFrame, nullptr},
    {"Clock", &SceneState::Clock, nullptr, 0, 0, 0, nullptr, "stored and written back unchanged", 5,
     7, 7, Derivation::kAsIs, nullptr, nullptr},
}};

// The settings that have a slider come first, in slider order.
inline constexpr std::size_t kSliderCount = 6;

using SettingValues = std::array<int, kSettingCount>;

namespace settings_table_detail {
constexpr SettingValues Column(int SettingSpec::*column) {
  SettingValues values{};
  for (std::size_t i = 0; i < kSettingCount; ++i) values[i] = kSettings[i].*column;
  return values;
}
constexpr bool SlidersComeFirst() {
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    if (kSettings[i].has_slider() != (i < kSliderCount)) return false;
  }
  return true;
}
}  // namespace settings_table_detail

static_assert(settings_table_detail::SlidersComeFirst(),
              "slider i shows setting i: the sliders' settings lead the table");

inline constexpr SettingValues kFullScreenDefaults =
    settings_table_detail::Column(&SettingSpec::full_screen_default);
inline constexpr SettingValues kSettingsWindowDefaults =
    settings_table_detail::Column(&SettingSpec::settings_window_default);
inline constexpr SettingValues kPreviewValues =
    settings_table_detail::Column(&SettingSpec::preview_value);

}  // namespace qv
