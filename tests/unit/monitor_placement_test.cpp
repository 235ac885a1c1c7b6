#include "fullscreen/monitor_placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace qv {
namespace {

constexpr ScreenRect kFallback{0, 0, 1024, 768};

TEST(MonitorPlacement, SceneOnThePrimaryCoversOnTheOthers) {
  // One monitor: the scene only.
  SaverPlacement one = PlaceSaverWindows({{{0, 0, 1920, 1080}, true}}, kFallback);
  EXPECT_EQ(one.scene, (ScreenRect{0, 0, 1920, 1080}));
  EXPECT_TRUE(one.covers.empty());

  // Primary listed second, one monitor to its left at negative coordinates,
  // one above it: covers keep the list's order.
  SaverPlacement three = PlaceSaverWindows({{{-1280, 100, 1280, 1024}, false},
                                            {{0, 0, 2560, 1440}, true},
                                            {{300, -900, 1600, 900}, false}},
                                           kFallback);
  EXPECT_EQ(three.scene, (ScreenRect{0, 0, 2560, 1440}));
  ASSERT_EQ(three.covers.size(), 2u);
  EXPECT_EQ(three.covers[0], (ScreenRect{-1280, 100, 1280, 1024}));
  EXPECT_EQ(three.covers[1], (ScreenRect{300, -900, 1600, 900}));

  // The primary need not sit at the origin.
  SaverPlacement moved =
      PlaceSaverWindows({{{0, 0, 800, 600}, false}, {{800, 0, 1024, 768}, true}}, kFallback);
  EXPECT_EQ(moved.scene, (ScreenRect{800, 0, 1024, 768}));
  ASSERT_EQ(moved.covers.size(), 1u);
  EXPECT_EQ(moved.covers[0], (ScreenRect{0, 0, 800, 600}));
}

TEST(MonitorPlacement, PrimaryWithoutAFlag) {
  // The monitor holding the origin, wherever it is listed.
  SaverPlacement origin =
      PlaceSaverWindows({{{1920, 0, 1280, 1024}, false}, {{0, 0, 1920, 1080}, false}}, kFallback);
  EXPECT_EQ(origin.scene, (ScreenRect{0, 0, 1920, 1080}));
  ASSERT_EQ(origin.covers.size(), 1u);
  EXPECT_EQ(origin.covers[0], (ScreenRect{1920, 0, 1280, 1024}));

  // Nothing at the origin: the first one listed.
  SaverPlacement first =
      PlaceSaverWindows({{{100, 0, 640, 480}, false}, {{740, 0, 640, 480}, false}}, kFallback);
  EXPECT_EQ(first.scene, (ScreenRect{100, 0, 640, 480}));
  ASSERT_EQ(first.covers.size(), 1u);

  // Two flagged (a confused report): the first of them, the other covered.
  SaverPlacement two =
      PlaceSaverWindows({{{0, 0, 800, 600}, true}, {{800, 0, 800, 600}, true}}, kFallback);
  EXPECT_EQ(two.scene, (ScreenRect{0, 0, 800, 600}));
  ASSERT_EQ(two.covers.size(), 1u);
  EXPECT_EQ(two.covers[0], (ScreenRect{800, 0, 800, 600}));
}

TEST(MonitorPlacement, NoCoverOverTheSceneNorTwiceOnOnePlace) {
  SaverPlacement p = PlaceSaverWindows({{{0, 0, 1920, 1080}, true},
                                        {{0, 0, 1920, 1080}, false},      // mirror of the primary
                                        {{100, 100, 800, 600}, false},    // inside the primary
                                        {{1920, 0, 1280, 1024}, false},   // a real second monitor
                                        {{1920, 0, 1280, 1024}, false},   // and its mirror
                                        {{1800, 0, 1280, 1024}, false}},  // overlapping both
                                       kFallback);
  EXPECT_EQ(p.scene, (ScreenRect{0, 0, 1920, 1080}));
  ASSERT_EQ(p.covers.size(), 2u);
  EXPECT_EQ(p.covers[0], (ScreenRect{1920, 0, 1280, 1024}));
  // Part of it lies outside the scene's monitor, which would stay readable.
  EXPECT_EQ(p.covers[1], (ScreenRect{1800, 0, 1280, 1024}));
}

TEST(MonitorPlacement, UnusableReportsFallBackToThePrimaryScreen) {
  EXPECT_EQ(PlaceSaverWindows({}, kFallback).scene, kFallback);

  SaverPlacement empty_sizes = PlaceSaverWindows(
      {{{0, 0, 0, 1080}, true}, {{0, 0, 1920, -1}, false}, {{5, 5, -3, -3}, false}}, kFallback);
  EXPECT_EQ(empty_sizes.scene, kFallback);
  EXPECT_TRUE(empty_sizes.covers.empty());

  // A flagged but empty primary is skipped for the usable one.
  SaverPlacement skipped =
      PlaceSaverWindows({{{0, 0, 0, 0}, true}, {{0, 0, 1280, 720}, false}}, kFallback);
  EXPECT_EQ(skipped.scene, (ScreenRect{0, 0, 1280, 720}));
  EXPECT_TRUE(skipped.covers.empty());
}

TEST(MonitorPlacement, ExtremeCoordinatesDoNotWrapAround) {
  // Right edges beyond INT_MAX: a wrapped sum would make the far monitor look
  // as if it lay inside the primary and leave it uncovered.
  SaverPlacement p = PlaceSaverWindows(
      {{{0, 0, INT_MAX, 1000}, true}, {{INT_MAX - 10, 0, 100, 1000}, false}}, kFallback);
  EXPECT_EQ(p.scene, (ScreenRect{0, 0, INT_MAX, 1000}));
  ASSERT_EQ(p.covers.size(), 1u);
  EXPECT_EQ(p.covers[0].left, INT_MAX - 10);
}

}  // namespace
}  // namespace qv
