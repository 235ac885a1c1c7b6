// The offscreen pictures: the right size, something drawn where it should
// be, reproducible when pinned, and different when the scene differs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tool_process.h"

namespace qv::render_tool_test {
namespace {

struct Rect {
  int x0, y0, x1, y1;  // half-open, top-left origin
};

// Pixels whose brightest channel reaches `level` (0..255).
int LitPixels(const Picture& p, const Rect& r, int level, const Rect* except = nullptr) {
  int n = 0;
  for (int y = r.y0; y < r.y1; ++y) {
    for (int x = r.x0; x < r.x1; ++x) {
      if (except != nullptr && x >= except->x0 && x < except->x1 && y >= except->y0 &&
          y < except->y1) {
        continue;
      }
      const unsigned char* px = p.At(x, y);
      n += std::max({px[0], px[1], px[2]}) >= level;
    }
  }
  return n;
}

// Light, colourless pixels: how the white caption looks under the lights.
int LightGreyPixels(const Picture& p, const Rect& r) {
  int n = 0;
  for (int y = r.y0; y < r.y1; ++y) {
    for (int x = r.x0; x < r.x1; ++x) {
      const unsigned char* px = p.At(x, y);
      const int hi = std::max({px[0], px[1], px[2]});
      const int lo = std::min({px[0], px[1], px[2]});
      n += hi >= 40 && hi - lo <= 8;
    }
  }
  return n;
}

int DifferentPixels(const Picture& a, const Rect& ra, const Picture& b, const Rect& rb) {
  int n = 0;
  for (int y = 0; y < ra.y1 - ra.y0; ++y) {
    for (int x = 0; x < ra.x1 - ra.x0; ++x) {
      const unsigned char* pa = a.At(ra.x0 + x, ra.y0 + y);
      const unsigned char* pb = b.At(rb.x0 + x, rb.y0 + y);
      n += pa[0] != pb[0] || pa[1] != pb[1] || pa[2] != pb[2];
    }
  }
  return n;
}

std::string Snapshot(const std::string& name, const std::vector<std::string>& options) {
  const std::string path = ScratchDir() + "/" + name + ".png";
  std::vector<std::string> args = {"snapshot", "--out", path};
  args.insert(args.end(), options.begin(), options.end());
  const ToolResult r = RunTool(args);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  // A missing caption font is reported on stderr; the caption is part of
  // what is checked here, so that is a failure too.
  EXPECT_EQ(r.err, "");
  return path;
}

constexpr int kWidth = 320;
constexpr int kHeight = 240;
// Top-left, where the projection puts the two caption lines.
constexpr Rect kCaption = {0, 0, kWidth * 45 / 100, kHeight * 12 / 100};
// Below the caption, where the flowers stand.
constexpr Rect kFlowers = {0, kHeight * 15 / 100, kWidth, kHeight};

std::vector<std::string> Sized(std::vector<std::string> options) {
  options.insert(options.end(),
                 {"--width", std::to_string(kWidth), "--height", std::to_string(kHeight)});
  return options;
}

TEST(Snapshot, RequestedSizeFlowersAndCaption) {
  const Picture p =
      ReadPng(Snapshot("plain", Sized({"--frames", "300", "--seed", "11", "--kinds", "0,3,5"})));
  ASSERT_EQ(p.width, kWidth);
  ASSERT_EQ(p.height, kHeight);
  const int flowers = LitPixels(p, kFlowers, 40);
  const int caption = LightGreyPixels(p, kCaption);
  std::printf("lit flower pixels %d, light caption pixels %d\n", flowers, caption);
  EXPECT_GT(flowers, 150);
  EXPECT_GT(caption, 60);

  // The first frame draws the caption with alpha 0: the light pixels above
  // are the caption's and not something else in that corner.
  const Picture first =
      ReadPng(Snapshot("first", Sized({"--frames", "1", "--seed", "11", "--kinds", "0,3,5"})));
  ASSERT_EQ(first.width, kWidth);
  EXPECT_EQ(LightGreyPixels(first, kCaption), 0);

  const Picture odd =
      ReadPng(Snapshot("odd", {"--width", "97", "--height", "61", "--frames", "2"}));
  EXPECT_EQ(odd.width, 97);
  EXPECT_EQ(odd.height, 61);
}

TEST(Snapshot, PinnedRunsRepeatAndDifferentScenesDiffer) {
  const std::vector<std::string> quads = {"--frames", "60", "--seed", "5", "--snow", "6"};
  auto with = [&quads](const char* kinds) {
    std::vector<std::string> o = quads;
    o.insert(o.end(), {"--kinds", kinds});
    return Sized(o);
  };
  const std::string a = Snapshot("a", with("1,4,9"));
  const std::string again = Snapshot("again", with("1,4,9"));
  const std::string other = Snapshot("other", with("2,4,9"));
  const std::string text_a = ReadFile(a);
  ASSERT_FALSE(text_a.empty());
  EXPECT_TRUE(text_a == ReadFile(again)) << "same seed and kinds, different files";

  const Picture pa = ReadPng(a);
  const Picture po = ReadPng(other);
  ASSERT_EQ(pa.width, kWidth);
  ASSERT_EQ(po.width, kWidth);
  const Rect all = {0, 0, kWidth, kHeight};
  EXPECT_GT(LitPixels(pa, kFlowers, 40), 1000) << "quads fill the petals";
  EXPECT_GT(DifferentPixels(pa, all, po, all), 200) << "another kind in slot 1";

  // One frame later the arrangement has turned on.
  std::vector<std::string> later = with("1,4,9");
  later[1] = "61";
  const Picture pl = ReadPng(Snapshot("later", later));
  ASSERT_EQ(pl.width, kWidth);
  EXPECT_GT(DifferentPixels(pa, all, pl, all), 50);
}

// The caption drawn one bitmap per string, as the saver draws it, must be
// the caption drawn one glyph list at a time, pixel for pixel, at every
// screen width (the font height follows it) and caption strength.
TEST(Snapshot, JoinedCaptionStringsDrawTheSamePixelsAsGlyphLists) {
  struct Case {
    int width, height;
    const char* frames;
  };
  for (const Case c : {Case{1024, 768, "700"}, Case{1600, 900, "900"}, Case{640, 480, "1100"},
                       Case{kWidth, kHeight, "450"}}) {
    std::vector<std::string> options = {"--width",  std::to_string(c.width),
                                        "--height", std::to_string(c.height),
                                        "--frames", c.frames,
                                        "--seed",   "7"};
    const std::string joined = Snapshot("joined", options);
    const Picture pj = ReadPng(joined);
    options.insert(options.end(), {"--glyph-lists", "each"});
    const Picture pe = ReadPng(Snapshot("each", options));
    ASSERT_EQ(pj.width, c.width);
    ASSERT_EQ(pe.width, c.width);
    const Rect caption = {0, 0, c.width * 45 / 100, c.height * 12 / 100};
    EXPECT_GT(LightGreyPixels(pj, caption), 60) << c.width << "x" << c.height;
    const Rect all = {0, 0, c.width, c.height};
    EXPECT_EQ(DifferentPixels(pj, all, pe, all), 0) << c.width << "x" << c.height;
  }
  const ToolResult bad = RunTool({"snapshot", "--out", ScratchDir() + "/bad.png", "--glyph-lists",
                                  "some"});
  EXPECT_NE(bad.exit_code, 0);
}

// The sheet's cells: each must show its own flower. The label in the cell's
// top-left corner is left out, or every cell would count as drawn.
// Single sheets: kind k at column k % 4, row k / 4; the sheet of all modes:
// kind k at column k of the mode's row.
void ExpectTwelveDistinctFlowers(const Picture& p, int columns, int cell, int row) {
  std::vector<Rect> cells;
  for (int kind = 0; kind < 12; ++kind) {
    const int col = columns == 12 ? kind : kind % 4;
    const int r = columns == 12 ? row : kind / 4;
    cells.push_back({col * cell, r * cell, (col + 1) * cell, (r + 1) * cell});
  }
  int least_lit = cell * cell;
  int least_diff = cell * cell;
  for (int kind = 0; kind < 12; ++kind) {
    const Rect& c = cells[kind];
    const Rect label = {c.x0, c.y0, c.x0 + cell * 30 / 100, c.y0 + cell * 22 / 100};
    const int lit = LitPixels(p, c, 40, &label);
    least_lit = std::min(least_lit, lit);
    EXPECT_GT(lit, cell * cell / 400) << "kind " << kind << " has " << lit << " lit pixels";
  }
  for (int a = 0; a < 12; ++a) {
    for (int b = a + 1; b < 12; ++b) {
      // Kinds of one species differ only in petal colours: a hundred
      // pixels at least, whatever the mode.
      const int diff = DifferentPixels(p, cells[a], p, cells[b]);
      least_diff = std::min(least_diff, diff);
      EXPECT_GT(diff, 100) << "kinds " << a << " and " << b;
    }
  }
  std::printf("least lit pixels in a cell %d, least differing pixels of two cells %d\n", least_lit,
              least_diff);
}

TEST(Gallery, EveryPrimitiveModeShowsTwelveDistinctFlowers) {
  for (const char* primitive : {"0", "1", "2", "3"}) {
    SCOPED_TRACE(std::string("primitive ") + primitive);
    const std::string path = ScratchDir() + "/gallery" + primitive + ".png";
    const ToolResult r = RunTool({"gallery", "--out", path, "--primitive", primitive});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const Picture p = ReadPng(path);
    ASSERT_EQ(p.width, 1024);
    ASSERT_EQ(p.height, 768);
    ExpectTwelveDistinctFlowers(p, 4, 256, 0);
  }
}

TEST(Gallery, SheetOfAllModesHasOneRowPerMode) {
  const std::string path = ScratchDir() + "/gallery_all.png";
  const ToolResult r = RunTool(
      {"gallery", "--out", path, "--primitive", "all", "--mesh-detail", "3", "--color", "4"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const Picture p = ReadPng(path);
  ASSERT_EQ(p.width, 12 * 160);
  ASSERT_EQ(p.height, 4 * 160);
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE("sheet row " + std::to_string(row));
    ExpectTwelveDistinctFlowers(p, 12, 160, row);
  }
  // The rows are the four modes, so the same kind differs from row to row.
  for (int row = 1; row < 4; ++row) {
    const Rect top = {0, 0, 160, 160};
    const Rect below = {0, row * 160, 160, (row + 1) * 160};
    EXPECT_GT(DifferentPixels(p, top, p, below), 200) << "kind 0 in rows 0 and " << row;
  }
}

}  // namespace
}  // namespace qv::render_tool_test
