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
GlyphBitmap GlyphOf(const FT_GlyphSlot slot) {
  const FT_Bitmap& bm = slot->bitmap;
  GlyphBitmap glyph;
  glyph.width = static_cast<int>(bm.width);
  glyph.height = static_cast<int>(bm.rows);
  glyph.bits.assign(
      static_cast<std::size_t>(glyph.RowBytes()) * static_cast<std::size_t>(glyph.height), 0);
  for (int y = 0; y < glyph.height; ++y) {
    const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
    for (int x = 0; x < glyph.width; ++x) {
      bool on = false;
      if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
        on = (src[x / 8] >> (7 - x % 8)) & 1;
      } else {
        on = src[x] >= 128;
      }
      if (on) glyph.SetBit(x, glyph.height - 1 - y);
    }
  }
  // The raster position is the pen on the baseline; the bitmap's origin is
  // its lower left corner.
  glyph.xorig = static_cast<GLfloat>(-slot->bitmap_left);
  glyph.yorig = static_cast<GLfloat>(glyph.height - slot->bitmap_top);
  glyph.xmove = static_cast<GLfloat>(slot->advance.x) / 64.0f;
  glyph.ymove = 0;
  return glyph;
}

// Pixel rows are read while the list is compiled, with the unpack state of
// that moment; the unpack state is not part of the list.
void CompileBitmap(unsigned list, const GlyphBitmap& g) {
  GLint old_alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &old_alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glNewList(list, GL_COMPILE);
  glBitmap(g.width, g.height, g.xorig, g.yorig, g.xmove, g.ymove,
           g.bits.empty() ? nullptr : g.bits.data());
  glEndList();
  glPixelStorei(GL_UNPACK_ALIGNMENT, old_alignment);
}

}  // namespace

bool FreeTypeCaptionGlyphs::Build(unsigned base, int first, int count, int height) {
  // New lists, most likely in a new context: nothing known so far holds.
  ContextReleased();
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

  for (int i = 0; i < count; ++i) {
    const unsigned list = base + static_cast<unsigned>(i);
    // Windows' bitmap fonts are two-level; the mono target keeps that look.
    if (FT_Load_Char(face, static_cast<FT_ULong>(first + i),
                     FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
      glNewList(list, GL_COMPILE);
      glEndList();
      continue;
    }
    GlyphBitmap glyph = GlyphOf(face->glyph);
    CompileBitmap(list, glyph);
    glyphs_.emplace(list, std::move(glyph));
  }

  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return true;
}

void FreeTypeCaptionGlyphs::ContextReleased() {
  glyphs_.clear();
  strings_.clear();
}

void FreeTypeCaptionGlyphs::ListsDeleted(unsigned first, int range) {
  bool ours = false;
  for (int i = 0; i < range; ++i)
    ours = glyphs_.erase(first + static_cast<unsigned>(i)) > 0 || ours;
  if (!ours) return;
  for (const auto& entry : strings_) {
    if (entry.second != 0) glDeleteLists(entry.second, 1);
  }
  strings_.clear();
}

bool FreeTypeCaptionGlyphs::CallString(int n, const unsigned char* codes) {
  if (glyphs_.empty()) return false;
  GLint base = 0;
  glGetIntegerv(GL_LIST_BASE, &base);
  const auto list_base = static_cast<unsigned>(base);
  auto key = std::make_pair(
      list_base, std::string(reinterpret_cast<const char*>(codes), static_cast<std::size_t>(n)));
  auto found = strings_.find(key);
  if (found == strings_.end()) {
    found = strings_.emplace(std::move(key), JoinedList(list_base, n, codes)).first;
  }
  if (found->second == 0) return false;
  GLboolean valid = GL_FALSE;
  glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
  GLfloat position[4] = {0, 0, 0, 0};
  glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
  if (valid == GL_FALSE || !JoinedBitmapLandsAlike(position[0], position[1])) return false;
  glCallList(found->second);
  return true;
}

unsigned FreeTypeCaptionGlyphs::JoinedList(unsigned list_base, int n,
                                           const unsigned char* codes) const {
  std::vector<const GlyphBitmap*> string;
  for (int i = 0; i < n; ++i) {
    const auto glyph = glyphs_.find(list_base + codes[i]);
    if (glyph == glyphs_.end()) return 0;  // not one of ours: call it
    string.push_back(&glyph->second);
  }
  const std::optional<GlyphBitmap> joined = JoinGlyphs(string);
  if (!joined) return 0;
  const GLuint list = glGenLists(1);
  if (list != 0) CompileBitmap(list, *joined);
  return list;
}

}  // namespace qv
