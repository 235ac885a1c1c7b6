#pragma once
// Caption glyphs without the Windows font interface: the bold caption face
// found through fontconfig, rasterised by FreeType into bitmap display lists.

#include <map>
#include <string>
#include <utility>

#include "gl/glyph_bitmap.h"
#include "gl/opengl_sink.h"
#include "gl/scene_gl.h"

namespace qv {

// It also draws whole strings of its glyphs for the sink (see
// ListStringDrawer): each distinct string becomes one glBitmap list.
class FreeTypeCaptionGlyphs final : public CaptionGlyphs, public ListStringDrawer {
 public:
  // Needs a current OpenGL context. `height` is negative for a character
  // height in pixels, as the caption font asks; a positive value is taken
  // the same way. Returns false (lists left empty) when no font is found.
  bool Build(unsigned base, int first, int count, int height) override;

  // The font file the last Build used, for messages and tests.
  const std::string& font_file() const { return font_file_; }

  // The context its lists lived in is gone: forgets them without GL calls.
  void ContextReleased();

  // ListStringDrawer
  bool CallString(int n, const unsigned char* codes) override;
  void ListsDeleted(unsigned first, int range) override;

 private:
  // The list drawing `codes` through `list_base` as one bitmap, 0 if they
  // are not all our glyphs or do not join.
  unsigned JoinedList(unsigned list_base, int n, const unsigned char* codes) const;

  std::string font_file_;
  std::map<unsigned, GlyphBitmap> glyphs_;  // by list
  // By list base and string: its joined list, 0 when it is called list by list.
  std::map<std::pair<unsigned, std::string>, unsigned> strings_;
};

}  // namespace qv
