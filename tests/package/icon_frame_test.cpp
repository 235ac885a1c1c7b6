// The icon's framing and shrinking, on small hand-made canvases whose
// averages are worked out by hand.
#include "icon_frame.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace qv::render_tool {
namespace {

using Pixel = std::array<unsigned char, 4>;
constexpr Pixel kClear = {0, 0, 0, 0};
constexpr Pixel kRed = {255, 0, 0, 255};
constexpr Pixel kWhite = {255, 255, 255, 255};
constexpr Pixel kBlack = {0, 0, 0, 255};

struct Canvas {
  int width, height;
  std::vector<unsigned char> rgba;
  Canvas(int w, int h) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4, 0) {}
  void Set(int x, int y, const Pixel& p) {
    for (int c = 0; c < 4; ++c) rgba[(static_cast<std::size_t>(y) * width + x) * 4 + c] = p[c];
  }
  void Fill(int x0, int y0, int x1, int y1, const Pixel& p) {  // inclusive
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Set(x, y, p);
  }
};

Pixel At(const std::vector<unsigned char>& icon, int side, int x, int y) {
  const unsigned char* p = &icon[(static_cast<std::size_t>(y) * side + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

TEST(IconShrink, AveragesBlocksWithPremultipliedAlpha) {
  Canvas c(4, 4);
  // Top-left block: half red, half clear. Straight colour stays pure red
  // (no darkening by the black behind the clear half), alpha 127.5 -> 128.
  c.Set(0, 0, kRed);
  c.Set(1, 1, kRed);
  // Top-right block: one white, one black, two clear: grey 127.5 -> 128 at half alpha.
  c.Set(2, 0, kWhite);
  c.Set(3, 1, kBlack);
  // Bottom-left block: all four opaque, three white and one black: 191.25 -> 191.
  c.Fill(0, 2, 1, 3, kWhite);
  c.Set(1, 3, kBlack);
  // Bottom-right block stays clear.
  const auto icon = ShrinkToIcon(c.rgba, 4, 4, IconFrame{0, 0, 4}, 2);
  ASSERT_EQ(icon.size(), 2u * 2u * 4u);
  EXPECT_EQ(At(icon, 2, 0, 0), (Pixel{255, 0, 0, 128}));
  EXPECT_EQ(At(icon, 2, 1, 0), (Pixel{128, 128, 128, 128}));
  EXPECT_EQ(At(icon, 2, 0, 1), (Pixel{191, 191, 191, 255}));
  EXPECT_EQ(At(icon, 2, 1, 1), kClear);
}

TEST(IconShrink, WeighsPartlyCoveredPixelsAndTreatsTheOutsideAsClear) {
  // 3 x 3 onto 2 x 2: icon pixel (0,0) covers [0,1.5)^2, in which canvas
  // pixel (1,1) has a quarter of its area: alpha 255 * 0.25 / 2.25 = 28.3.
  Canvas c(3, 3);
  c.Set(1, 1, kWhite);
  auto icon = ShrinkToIcon(c.rgba, 3, 3, IconFrame{0, 0, 3}, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(At(icon, 2, x, y), (Pixel{255, 255, 255, 28}));

  // A frame reaching up and left past a fully opaque 2 x 2 canvas: only the
  // icon pixel over the canvas is coloured.
  Canvas full(2, 2);
  full.Fill(0, 0, 1, 1, kRed);
  icon = ShrinkToIcon(full.rgba, 2, 2, IconFrame{-2, -2, 4}, 2);
  EXPECT_EQ(At(icon, 2, 0, 0), kClear);
  EXPECT_EQ(At(icon, 2, 1, 0), kClear);
  EXPECT_EQ(At(icon, 2, 0, 1), kClear);
  EXPECT_EQ(At(icon, 2, 1, 1), kRed);
}

// Every opaque pixel of rows [y0, y1] lies inside the frame.
bool Contains(const Canvas& c, const IconFrame& f, int y0, int y1) {
  for (int y = y0; y <= y1; ++y)
    for (int x = 0; x < c.width; ++x) {
      if (c.rgba[(static_cast<std::size_t>(y) * c.width + x) * 4 + 3] == 0) continue;
      if (x < f.left || x >= f.left + f.side || y < f.top || y >= f.top + f.side) return false;
    }
  return true;
}

TEST(IconFrameTest, HangsASquareFromATallFlowersBlossom) {
  // A blossom 11 wide over a stem, 100 rows in all: the square is at least
  // 60 rows tall, holds the blossom and the stem's upper part, and cuts the
  // stem's foot; the blossom sits in its middle, left to right.
  Canvas c(200, 200);
  c.Fill(90, 40, 100, 55, kRed);
  c.Fill(95, 56, 95, 139, kBlack);
  const IconFrame f = FrameBlossom(c.rgba, 200, 200);
  EXPECT_GE(f.side, 60);
  EXPECT_LE(f.side, 60 + 2 * 6);
  EXPECT_TRUE(Contains(c, f, 40, 99));
  EXPECT_FALSE(Contains(c, f, 40, 139));
  EXPECT_LT(f.top, 40);  // a margin above the blossom
  const double blossom_middle = 95.5;
  EXPECT_NEAR(f.left + f.side / 2.0, blossom_middle, 1.0);
}

TEST(IconFrameTest, KeepsAWideShapeWholeAndReportsAnEmptyCanvas) {
  Canvas c(100, 100);
  c.Fill(10, 50, 69, 59, kWhite);  // 60 wide, 10 tall
  const IconFrame f = FrameBlossom(c.rgba, 100, 100);
  EXPECT_TRUE(Contains(c, f, 0, 99));
  EXPECT_GE(f.side, 60);

  EXPECT_EQ(FrameBlossom(Canvas(8, 8).rgba, 8, 8).side, 0);
}

}  // namespace
}  // namespace qv::render_tool
