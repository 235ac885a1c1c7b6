#include "gl/glyph_bitmap.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace qv {

namespace {

// Whole numbers well inside int, so that sums of them stay exact.
bool WholePixels(float v) {
  return std::isfinite(v) && std::fabs(v) < 1e6f && std::floor(v) == v;
}

// Far enough from a pixel boundary: the glyphs' steps along a string of any
// screen's width lose at most a few 1e-4 of a pixel in float, and drivers
// add about 1e-4 before rounding.
constexpr double kBoundaryMargin = 1e-3;

bool AwayFromBoundary(float v) {
  if (!std::isfinite(v)) return false;
  const double frac = static_cast<double>(v) - std::floor(static_cast<double>(v));
  return frac >= kBoundaryMargin && frac <= 1 - kBoundaryMargin;
}

}  // namespace

bool GlyphBitmap::Bit(int x, int y) const {
  const auto at = static_cast<std::size_t>(y) * static_cast<std::size_t>(RowBytes()) +
                  static_cast<std::size_t>(x / 8);
  return (bits[at] >> (7 - x % 8)) & 1;
}

void GlyphBitmap::SetBit(int x, int y) {
  const auto at = static_cast<std::size_t>(y) * static_cast<std::size_t>(RowBytes()) +
                  static_cast<std::size_t>(x / 8);
  bits[at] = static_cast<unsigned char>(bits[at] | (0x80 >> (x % 8)));
}

std::optional<GlyphBitmap> JoinGlyphs(const std::vector<const GlyphBitmap*>& glyphs) {
  // Lower left corners relative to floor(raster position), and the pen.
  struct Placed {
    const GlyphBitmap* glyph;
    long long x, y;
  };
  std::vector<Placed> placed;
  long long pen_x = 0, pen_y = 0;
  long long left = LLONG_MAX, bottom = LLONG_MAX, right = LLONG_MIN, top = LLONG_MIN;
  for (const GlyphBitmap* g : glyphs) {
    if (g == nullptr || g->width < 0 || g->height < 0) return std::nullopt;
    if (!WholePixels(g->xorig) || !WholePixels(g->yorig) || !WholePixels(g->xmove) ||
        !WholePixels(g->ymove)) {
      return std::nullopt;
    }
    if (g->bits.size() <
        static_cast<std::size_t>(g->RowBytes()) * static_cast<std::size_t>(g->height)) {
      return std::nullopt;
    }
    if (g->width > 0 && g->height > 0) {
      const long long x = pen_x - static_cast<long long>(g->xorig);
      const long long y = pen_y - static_cast<long long>(g->yorig);
      placed.push_back({g, x, y});
      left = std::min(left, x);
      bottom = std::min(bottom, y);
      right = std::max(right, x + g->width);
      top = std::max(top, y + g->height);
    }
    pen_x += static_cast<long long>(g->xmove);
    pen_y += static_cast<long long>(g->ymove);
    if (std::llabs(pen_x) > INT_MAX / 2 || std::llabs(pen_y) > INT_MAX / 2) return std::nullopt;
  }

  GlyphBitmap joined;
  joined.xmove = static_cast<float>(pen_x);
  joined.ymove = static_cast<float>(pen_y);
  if (placed.empty()) return joined;
  if (right - left > 1 << 16 || top - bottom > 1 << 16) return std::nullopt;
  joined.width = static_cast<int>(right - left);
  joined.height = static_cast<int>(top - bottom);
  joined.xorig = static_cast<float>(-left);
  joined.yorig = static_cast<float>(-bottom);
  joined.bits.assign(
      static_cast<std::size_t>(joined.RowBytes()) * static_cast<std::size_t>(joined.height), 0);
  for (const Placed& p : placed) {
    const int ox = static_cast<int>(p.x - left);
    const int oy = static_cast<int>(p.y - bottom);
    for (int y = 0; y < p.glyph->height; ++y) {
      for (int x = 0; x < p.glyph->width; ++x) {
        if (!p.glyph->Bit(x, y)) continue;
        if (joined.Bit(ox + x, oy + y)) return std::nullopt;
        joined.SetBit(ox + x, oy + y);
      }
    }
  }
  return joined;
}

bool JoinedBitmapLandsAlike(float raster_x, float raster_y) {
  return AwayFromBoundary(raster_x) && AwayFromBoundary(raster_y);
}

}  // namespace qv
