#pragma once
// Turning a large rendering of one flower into a small square icon: where
// the square sits, and an area-averaged shrink that keeps the transparent
// background. No OpenGL here, so the arithmetic is testable on its own.

#include <vector>

namespace qv::render_tool {

inline constexpr int kMinIconSide = 16;
inline constexpr int kMaxIconSide = 512;

// A square of the canvas, in pixels from the top-left corner; it may reach
// past the canvas, whose outside counts as transparent. side 0: nothing
// visible.
struct IconFrame {
  int left = 0;
  int top = 0;
  int side = 0;
};

// Frames the blossom end of a flower (the top of what is visible): a square
// as wide as the whole flower and at least three fifths of its height,
// hanging from its top, centred on what lies inside it, with a thin margin
// all round.
IconFrame FrameBlossom(const std::vector<unsigned char>& rgba, int width, int height);

// Every icon pixel is the coverage-weighted mean of the canvas pixels under
// it, averaged with premultiplied alpha (so the black behind transparent
// pixels does not darken the edges) and written back as straight alpha.
std::vector<unsigned char> ShrinkToIcon(const std::vector<unsigned char>& rgba, int width,
                                        int height, const IconFrame& frame, int side);

}  // namespace qv::render_tool
