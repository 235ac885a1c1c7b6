// Joining glyph bitmaps: the joined bitmap must light exactly the pixels
// that the glyphs light one after another, from any raster position, and
// move the pen as far. The reference below draws as glBitmap is specified:
// lower left corner at floor(raster - origin), then the raster moves.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gl/glyph_bitmap.h"

namespace qv {
namespace {

// Rows given top first, '#' set; stored bottom row first as glBitmap reads.
GlyphBitmap Glyph(const std::vector<std::string>& rows, float xorig, float yorig, float xmove,
                  float ymove = 0) {
  GlyphBitmap g;
  g.height = static_cast<int>(rows.size());
  g.width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
  g.xorig = xorig;
  g.yorig = yorig;
  g.xmove = xmove;
  g.ymove = ymove;
  const int row_bytes = (g.width + 7) / 8;
  g.bits.assign(static_cast<std::size_t>(row_bytes * g.height), 0);
  for (int r = 0; r < g.height; ++r) {
    const int y = g.height - 1 - r;
    for (int x = 0; x < g.width; ++x) {
      if (rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(x)] == '#') {
        g.bits[static_cast<std::size_t>(y * row_bytes + x / 8)] |=
            static_cast<unsigned char>(0x80 >> (x % 8));
      }
    }
  }
  return g;
}

using Pixels = std::map<std::pair<long, long>, int>;  // pixel -> times drawn

struct Drawn {
  Pixels pixels;
  double end_x, end_y;
};

Drawn DrawOneByOne(const std::vector<const GlyphBitmap*>& glyphs, double x, double y) {
  Drawn d;
  for (const GlyphBitmap* g : glyphs) {
    const long left = static_cast<long>(std::floor(x - g->xorig));
    const long bottom = static_cast<long>(std::floor(y - g->yorig));
    const int row_bytes = (g->width + 7) / 8;
    for (int by = 0; by < g->height; ++by) {
      for (int bx = 0; bx < g->width; ++bx) {
        const unsigned char byte = g->bits[static_cast<std::size_t>(by * row_bytes + bx / 8)];
        if ((byte >> (7 - bx % 8)) & 1) ++d.pixels[{left + bx, bottom + by}];
      }
    }
    x += g->xmove;
    y += g->ymove;
  }
  d.end_x = x;
  d.end_y = y;
  return d;
}

TEST(JoinGlyphs, LightsTheSamePixelsAndMovesAsFarFromAnyRasterPosition) {
  // A caption-like string: a plain glyph, a space (no bitmap, only a move),
  // one that starts left of the pen, one hanging below the baseline, and a
  // glyph that also moves the pen up.
  const GlyphBitmap a = Glyph({".##.", "#..#", "####", "#..#"}, 0, 0, 5);
  const GlyphBitmap space = Glyph({}, 0, 0, 5);
  const GlyphBitmap w = Glyph({"#...#", "#.#.#", ".#.#."}, 1, 0, 5);
  const GlyphBitmap p = Glyph({"###", "#.#", "###", "#..", "#.."}, -1, 2, 5);
  const GlyphBitmap up = Glyph({"#", "#"}, 0, 0, 3, 2);
  const std::vector<const GlyphBitmap*> text = {&a, &space, &w, &p, &up, &a};

  const auto joined = JoinGlyphs(text);
  ASSERT_TRUE(joined.has_value());
  for (const double x : {10.4, 0.5, -7.25, 333.9}) {
    for (const double y : {20.7, -3.5}) {
      const Drawn each = DrawOneByOne(text, x, y);
      const Drawn once = DrawOneByOne({&*joined}, x, y);
      EXPECT_EQ(once.pixels, each.pixels) << "from " << x << ", " << y;
      EXPECT_DOUBLE_EQ(once.end_x, each.end_x);
      EXPECT_DOUBLE_EQ(once.end_y, each.end_y);
    }
  }
  // 10 + 0 + 7 + 10 + 2 + 10 pixels, none of them twice.
  EXPECT_EQ(DrawOneByOne({&*joined}, 0.5, 0.5).pixels.size(), 39u);
  // The box runs from the leftmost start (the pen at 0) to the last glyph's
  // right edge, and from the descender's bottom to the raised glyph's top.
  EXPECT_EQ(joined->width, 5 + 5 + 5 + 5 + 3 + 4);  // pens 0, 5, 10, 15, 20, 23
  EXPECT_EQ(joined->height, 2 + 2 + 4);             // from -2 up to 2 + 4
  EXPECT_EQ(joined->xorig, 0);
  EXPECT_EQ(joined->yorig, 2);
}

TEST(JoinGlyphs, RefusesWhatOneBitmapCannotDrawAlike) {
  const GlyphBitmap a = Glyph({"##", "##"}, 0, 0, 2);
  // Moves or origins between pixels round differently glyph by glyph.
  const GlyphBitmap half_move = Glyph({"##"}, 0, 0, 2.5f);
  const GlyphBitmap half_origin = Glyph({"##"}, 0.5f, 0, 2);
  EXPECT_FALSE(JoinGlyphs({&half_move, &a}).has_value());
  EXPECT_FALSE(JoinGlyphs({&a, &half_origin}).has_value());
  // A glyph reaching back over its neighbour's lit pixel would draw that
  // pixel twice (blended twice); joined it would be drawn once.
  const GlyphBitmap back_onto = Glyph({"#."}, 1, 0, 2);
  EXPECT_FALSE(JoinGlyphs({&a, &back_onto}).has_value());
  // Overlapping boxes whose lit pixels do not meet are fine.
  const GlyphBitmap back_beside = Glyph({".#"}, 1, 0, 2);
  ASSERT_TRUE(JoinGlyphs({&a, &back_beside}).has_value());
  // Damaged glyphs: too few bytes for their size, a missing glyph.
  GlyphBitmap short_bits = a;
  short_bits.bits.pop_back();
  EXPECT_FALSE(JoinGlyphs({&short_bits}).has_value());
  EXPECT_FALSE(JoinGlyphs({&a, nullptr}).has_value());
  // Not a number is not a whole pixel.
  const GlyphBitmap nan_move = Glyph({"#"}, 0, 0, std::nanf(""));
  EXPECT_FALSE(JoinGlyphs({&nan_move}).has_value());
}

TEST(JoinGlyphs, StringWithoutBitmapsOnlyMovesThePen) {
  const GlyphBitmap space = Glyph({}, 0, 0, 7);
  const GlyphBitmap tab = Glyph({}, 0, 0, 28, -1);
  const auto joined = JoinGlyphs({&space, &tab, &space});
  ASSERT_TRUE(joined.has_value());
  EXPECT_EQ(joined->width, 0);
  EXPECT_EQ(joined->height, 0);
  EXPECT_TRUE(joined->bits.empty());
  EXPECT_EQ(joined->xmove, 42);
  EXPECT_EQ(joined->ymove, -1);
  const auto none = JoinGlyphs({});
  ASSERT_TRUE(none.has_value());
  EXPECT_EQ(none->xmove, 0);
}

TEST(JoinedBitmapLandsAlike, OnlyAwayFromPixelBoundaries) {
  EXPECT_TRUE(JoinedBitmapLandsAlike(11.388672f, 736.282104f));
  EXPECT_TRUE(JoinedBitmapLandsAlike(-3.5f, 0.25f));
  // On a boundary, or within a driver's rounding epsilon of one, a glyph
  // further along the string may round to the other side.
  EXPECT_FALSE(JoinedBitmapLandsAlike(11.0f, 700.5f));
  EXPECT_FALSE(JoinedBitmapLandsAlike(11.5f, 699.9999f));
  EXPECT_FALSE(JoinedBitmapLandsAlike(12.0002f, 3.5f));
  EXPECT_FALSE(JoinedBitmapLandsAlike(-4.0f, 3.5f));
  EXPECT_FALSE(JoinedBitmapLandsAlike(std::nanf(""), 3.5f));
  EXPECT_FALSE(JoinedBitmapLandsAlike(3.5f, INFINITY));
}

}  // namespace
}  // namespace qv
