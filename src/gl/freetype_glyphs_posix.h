#pragma once
// Caption glyphs without the Windows font interface: the bold caption face
// found through fontconfig, rasterised by FreeType into bitmap display lists.

#include <string>

#include "gl/scene_gl.h"

namespace qv {

class FreeTypeCaptionGlyphs final : public CaptionGlyphs {
 public:
  // Needs a current OpenGL context. `height` is negative for a character
  // height in pixels, as the caption font asks; a positive value is taken
  // the same way. Returns false (lists left empty) when no font is found.
  bool Build(unsigned base, int first, int count, int height) override;

  // The font file the last Build used, for messages and tests.
  const std::string& font_file() const { return font_file_; }

 private:
  std::string font_file_;
};

}  // namespace qv
