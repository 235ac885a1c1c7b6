#include "settings/dpi_layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace qv {
namespace {

TEST(DpiScale, RoundsHalvesAwayFromZeroLikeTheSystem) {
  EXPECT_EQ(ScaleForDpi(400, 144), 600);
  EXPECT_EQ(ScaleForDpi(13, 144), 20);    // 19.5
  EXPECT_EQ(ScaleForDpi(3, 144), 5);      // 4.5
  EXPECT_EQ(ScaleForDpi(110, 120), 138);  // 137.5
  EXPECT_EQ(ScaleForDpi(51, 120), 64);    // 63.75
  EXPECT_EQ(ScaleForDpi(10, 168), 18);    // 17.5
  EXPECT_EQ(ScaleForDpi(-3, 144), -5);    // -4.5
  EXPECT_EQ(ScaleForDpi(7, 96), 7);
}

TEST(DpiScale, UnusableDpisKeepTheDesignOrTheLargestScaling) {
  EXPECT_EQ(ScaleForDpi(400, 0), 400);
  EXPECT_EQ(ScaleForDpi(400, -144), 400);
  EXPECT_EQ(ScaleForDpi(400, 72), 400);
  EXPECT_EQ(ScaleForDpi(400, 100000), 2000);
  // Products beyond int are computed wide and held to int.
  EXPECT_EQ(ScaleForDpi(INT_MAX, 480), INT_MAX);
  EXPECT_EQ(ScaleForDpi(INT_MIN, 480), INT_MIN);
}

TEST(SettingsLayout, AtTheDesignDpiEverythingStaysWhereItWas) {
  const SettingsLayout l = LayoutForDpi(96);
  EXPECT_EQ(l.window_width, 400);
  EXPECT_EQ(l.window_height, 440);
  EXPECT_EQ(l.sliders[0], (LayoutRect{3, 320, 120, 10}));
  EXPECT_EQ(l.labels[0], (LayoutRect{17, 300, 51, 20}));
  EXPECT_EQ(l.sliders[5], (LayoutRect{256, 357, 120, 10}));
  EXPECT_EQ(l.labels[5], (LayoutRect{270, 340, 42, 20}));
  EXPECT_EQ(l.save_button, (LayoutRect{9, 375, 110, 20}));
  EXPECT_EQ(l.site_button, (LayoutRect{134, 376, 110, 20}));
  EXPECT_EQ(l.font_height, 13);
  EXPECT_EQ(l.scene_bottom, 110);
  EXPECT_EQ(l.scene_height_loss, 140);
}

TEST(SettingsLayout, OneAndAHalfTimesAt144) {
  const SettingsLayout l = LayoutForDpi(144);
  EXPECT_EQ(l.dpi, 144);
  EXPECT_EQ(l.window_width, 600);
  EXPECT_EQ(l.window_height, 660);
  // "Brightness": 3, 357 -> 4.5, 535.5; 120 x 10 -> 180 x 15.
  EXPECT_EQ(l.sliders[1], (LayoutRect{5, 536, 180, 15}));
  // "Satiation" label: 142, 300, 66 x 20.
  EXPECT_EQ(l.labels[2], (LayoutRect{213, 450, 99, 30}));
  // "Our Site": 134, 376, 110 x 20.
  EXPECT_EQ(l.site_button, (LayoutRect{201, 564, 165, 30}));
  EXPECT_EQ(l.font_height, 20);
  // The scene fills 600 x (660 - 210) above the controls' 165 pixels.
  EXPECT_EQ(l.scene_bottom, 165);
  EXPECT_EQ(l.window_height - l.scene_height_loss, 450);
}

}  // namespace
}  // namespace qv
