#include "gl/freetype_glyphs_posix.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <vector>

#include "gl/opengl_headers.h"

namespace qv {

namespace {

struct FontFile {
  std::string path;
  int index = 0;
};

// "Courier New" where it is installed; otherwise fontconfig's best match,
// which on Debian is the metric-compatible Liberation Mono.
FontFile FindCaptionFont() {
  FontFile found;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return found;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Courier New:bold"));
  if (pattern != nullptr) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    if (match != nullptr) {
      FcChar8* file = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
        found.path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &found.index);
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return found;
}

// One glyph as glBitmap wants it: 1 bit per pixel, most significant bit
// first, rows from the bottom up, no row padding.
void CompileGlyph(unsigned list, const FT_GlyphSlot slot) {
  const FT_Bitmap& bm = slot->bitmap;
  const int w = static_cast<int>(bm.width);
  const int h = static_cast<int>(bm.rows);
  const int row_bytes = (w + 7) / 8;
  std::vector<GLubyte> bits(static_cast<std::size_t>(row_bytes) * static_cast<std::size_t>(h), 0);
  for (int y = 0; y < h; ++y) {
    const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
    GLubyte* dst = &bits[static_cast<std::size_t>(h - 1 - y) * static_cast<std::size_t>(row_bytes)];
    for (int x = 0; x < w; ++x) {
      bool on = false;
      if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
        on = (src[x / 8] >> (7 - x % 8)) & 1;
      } else {
        on = src[x] >= 128;
      }
      if (on) dst[x / 8] = static_cast<GLubyte>(dst[x / 8] | (0x80 >> (x % 8)));
    }
  }
  // The raster position is the pen on the baseline; the bitmap's origin is
  // its lower left corner.
  const auto xorig = static_cast<GLfloat>(-slot->bitmap_left);
  const auto yorig = static_cast<GLfloat>(h - slot->bitmap_top);
  const auto advance = static_cast<GLfloat>(slot->advance.x) / 64.0f;
  glNewList(list, GL_COMPILE);
  glBitmap(w, h, xorig, yorig, advance, 0, bits.empty() ? nullptr : bits.data());
  glEndList();
}

}  // namespace

bool FreeTypeCaptionGlyphs::Build(unsigned base, int first, int count, int height) {
  const FontFile font = FindCaptionFont();
  font_file_ = font.path;
  if (font.path.empty() || count <= 0) return false;
  const int pixels = std::abs(height) > 0 ? std::abs(height) : 16;

  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return false;
  FT_Face face = nullptr;
  if (FT_New_Face(library, font.path.c_str(), font.index, &face) != 0) {
    FT_Done_FreeType(library);
    return false;
  }
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels));

  // glBitmap reads the pixels while the list is compiled, with the unpack
  // state of that moment, and the unpack state is not part of the list.
  GLint old_alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &old_alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (int i = 0; i < count; ++i) {
    const unsigned list = base + static_cast<unsigned>(i);
    // Windows' bitmap fonts are two-level; the mono target keeps that look.
    if (FT_Load_Char(face, static_cast<FT_ULong>(first + i), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
      glNewList(list, GL_COMPILE);
      glEndList();
      continue;
    }
    CompileGlyph(list, face->glyph);
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, old_alignment);

  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return true;
}

}  // namespace qv
