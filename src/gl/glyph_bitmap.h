#pragma once
// Bitmap glyphs as glBitmap draws them, and the joining of a string of them
// into one bitmap. Drawing a caption one glyph list at a time costs a
// software rasteriser a whole draw (state switch, texture, quad) per
// character; one bitmap per string draws the same pixels in one.

#include <optional>
#include <vector>

namespace qv {

// One glBitmap call: 1 bit per pixel, most significant bit first, rows from
// the bottom up, (width + 7) / 8 bytes per row. The raster position is
// moved by (xmove, ymove) after drawing; the bitmap's lower left corner
// goes to floor(raster - origin).
struct GlyphBitmap {
  int width = 0;
  int height = 0;
  float xorig = 0;
  float yorig = 0;
  float xmove = 0;
  float ymove = 0;
  std::vector<unsigned char> bits;

  int RowBytes() const { return (width + 7) / 8; }
  bool Bit(int x, int y) const;
  void SetBit(int x, int y);
};

// The bitmap that draws, from the same raster position, exactly the pixels
// that `glyphs` draw one after another, and moves the raster position as
// far. Empty when that cannot be promised: an origin or a move that is not
// a whole number of pixels (the glyphs' own roundings would then differ
// from one rounding of the whole), or two glyphs setting the same pixel
// (drawn twice, it would be blended twice).
std::optional<GlyphBitmap> JoinGlyphs(const std::vector<const GlyphBitmap*>& glyphs);

// Whether a joined bitmap lands where its glyphs would from this raster
// position: the glyphs' positions are the raster position plus whole pixels,
// so they round alike unless the position lies so close to a pixel
// boundary that float steps along the string or a driver's rounding
// epsilon could tip one glyph over it.
bool JoinedBitmapLandsAlike(float raster_x, float raster_y);

}  // namespace qv
