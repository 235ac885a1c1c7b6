#include "icon_frame.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace qv::render_tool {

namespace {

struct Box {
  int x0, y0, x1, y1;  // inclusive; x1 < x0 when empty
};

Box OpaqueBox(const std::vector<unsigned char>& rgba, int width, int row_begin, int row_end) {
  Box box{width, row_begin, -1, row_begin - 1};
  for (int y = row_begin; y < row_end; ++y) {
    for (int x = 0; x < width; ++x) {
      if (rgba[(static_cast<std::size_t>(y) * width + x) * 4 + 3] == 0) continue;
      box.x0 = std::min(box.x0, x);
      box.x1 = std::max(box.x1, x);
      if (box.y1 < box.y0) box.y0 = y;
      box.y1 = y;
    }
  }
  return box;
}

}  // namespace

IconFrame FrameBlossom(const std::vector<unsigned char>& rgba, int width, int height) {
  const Box all = OpaqueBox(rgba, width, 0, height);
  if (all.x1 < all.x0) return {};
  const int w = all.x1 - all.x0 + 1;
  const int h = all.y1 - all.y0 + 1;
  const int inner = std::max(w, (3 * h + 4) / 5);
  // The rows the square covers from the top decide where it is centred.
  const Box top = OpaqueBox(rgba, width, all.y0, all.y0 + std::min(h, inner));
  const int margin = std::max(1, inner / 16);
  IconFrame frame;
  frame.side = inner + 2 * margin;
  frame.left = (top.x0 + top.x1 + 1 - inner) / 2 - margin;
  frame.top = all.y0 - margin;
  return frame;
}

std::vector<unsigned char> ShrinkToIcon(const std::vector<unsigned char>& rgba, int width,
                                        int height, const IconFrame& frame, int side) {
  std::vector<unsigned char> icon(static_cast<std::size_t>(side) * side * 4, 0);
  const double scale = static_cast<double>(frame.side) / side;  // canvas pixels per icon pixel
  for (int j = 0; j < side; ++j) {
    const double sy0 = frame.top + j * scale;
    const double sy1 = sy0 + scale;
    for (int i = 0; i < side; ++i) {
      const double sx0 = frame.left + i * scale;
      const double sx1 = sx0 + scale;
      double r = 0, g = 0, b = 0, a = 0;
      const int ys = std::max(0, static_cast<int>(std::floor(sy0)));
      const int ye = std::min(height, static_cast<int>(std::ceil(sy1)));
      const int xs = std::max(0, static_cast<int>(std::floor(sx0)));
      const int xe = std::min(width, static_cast<int>(std::ceil(sx1)));
      for (int y = ys; y < ye; ++y) {
        const double cover_y = std::min<double>(y + 1, sy1) - std::max<double>(y, sy0);
        for (int x = xs; x < xe; ++x) {
          const double cover = cover_y * (std::min<double>(x + 1, sx1) - std::max<double>(x, sx0));
          const unsigned char* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
          const double alpha = p[3] / 255.0;
          r += cover * alpha * p[0];
          g += cover * alpha * p[1];
          b += cover * alpha * p[2];
          a += cover * alpha;
        }
      }
      unsigned char* q = &icon[(static_cast<std::size_t>(j) * side + i) * 4];
      const double area = scale * scale;
      const auto byte = [](double v) {
        return static_cast<unsigned char>(std::clamp(std::lround(v), 0L, 255L));
      };
      q[3] = byte(255.0 * a / area);
      if (q[3] == 0) continue;  // fully transparent pixels stay 0,0,0,0
      q[0] = byte(r / a);
      q[1] = byte(g / a);
      q[2] = byte(b / a);
    }
  }
  return icon;
}

}  // namespace qv::render_tool
