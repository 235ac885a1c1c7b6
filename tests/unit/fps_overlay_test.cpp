// The frame-rate meter against hand-counted frame sequences, and where the
// overlay puts its two lines.
#include "gl/fps_overlay.h"

#include <gtest/gtest.h>

#include "testing/recording_sink.h"

namespace qv {
namespace {

TEST(FrameRateMeter, CountsTheFramesOfEachSecondAndTheirDrawingTime) {
  FrameRateMeter meter;
  // Four frames a quarter second apart, 10 ms of drawing each.
  for (double t : {0.0, 0.25, 0.5, 0.75}) {
    meter.FrameBegin(t);
    meter.FrameEnd(t + 0.010);
    EXPECT_FALSE(meter.has_reading());
    EXPECT_EQ(meter.RateLine(), "");
  }
  meter.FrameBegin(1.0);
  ASSERT_TRUE(meter.has_reading());
  EXPECT_DOUBLE_EQ(meter.frames_per_second(), 4.0);
  EXPECT_NEAR(meter.frame_milliseconds(), 10.0, 1e-9);
  EXPECT_EQ(meter.RateLine(), "FPS: 4.0");
  EXPECT_EQ(meter.TimeLine(), "Frame: 10.0 ms");
  meter.FrameEnd(1.002);

  // Then the 31 ms timer: 33 frames from 1.0 until the next reading at
  // 1.0 + 33 * 0.031 = 2.023 s, the first 2 ms and the others 2.5 ms long:
  // 33 / 1.023 = 32.26 per second, (2 + 32 * 2.5) / 33 = 2.485 ms.
  for (int k = 1; k < 33; ++k) {
    const double t = 1.0 + k * 0.031;
    meter.FrameBegin(t);
    meter.FrameEnd(t + 0.0025);
  }
  EXPECT_EQ(meter.RateLine(), "FPS: 4.0");  // still the first second's reading
  meter.FrameBegin(1.0 + 33 * 0.031);
  EXPECT_EQ(meter.RateLine(), "FPS: 32.3");
  EXPECT_EQ(meter.TimeLine(), "Frame: 2.5 ms");
}

TEST(FpsOverlay, TwoLinesInTheLowerLeftCornerThenTheProjectionBack) {
  FrameRateMeter meter;
  RecordingSink sink;
  DrawFpsOverlay(sink, 1, -24, 800, 600, meter);
  EXPECT_TRUE(sink.calls.empty()) << "nothing before the first reading";

  meter.FrameBegin(0);
  meter.FrameEnd(0.004);
  meter.FrameBegin(1);
  DrawFpsOverlay(sink, 1, -24, 800, 600, meter);
  std::vector<GlCall> raster;
  std::vector<std::string> texts;
  for (const GlCall& c : sink.calls) {
    if (c.op == GlCall::kRasterPos2f) raster.push_back(c);
    if (c.op == GlCall::kCallLists) texts.push_back(c.text);
  }
  ASSERT_EQ(raster.size(), 2u);
  // 24-pixel glyphs, half a glyph from the edges, lines 1.25 glyphs apart:
  // x = -1 + 2 * 12 / 800, bottom = -1 + 2 * 12 / 600, the line above 2 * 30 / 600 higher.
  EXPECT_NEAR(raster[0].f[0], -0.97, 1e-6);
  EXPECT_NEAR(raster[0].f[1], -0.86, 1e-6);
  EXPECT_NEAR(raster[1].f[0], -0.97, 1e-6);
  EXPECT_NEAR(raster[1].f[1], -0.96, 1e-6);
  EXPECT_EQ(texts, (std::vector<std::string>{"FPS: 1.0", "Frame: 4.0 ms"}));
  EXPECT_EQ(sink.calls.front().op, GlCall::kPushMatrix);
  EXPECT_EQ(sink.calls[1].op, GlCall::kLoadIdentity);
  EXPECT_EQ(sink.calls.back().op, GlCall::kPopMatrix);
}

}  // namespace
}  // namespace qv
