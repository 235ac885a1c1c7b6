#pragma once
// An offscreen desktop OpenGL context (compatibility profile, RGBA, depth
// buffer) made current on the calling thread, with no window system: EGL on
// Mesa's surfaceless platform, falling back to the default display.

#include <memory>
#include <vector>

namespace qv::render_tool {

class OffscreenContext {
 public:
  // Throws std::runtime_error with the failing step when no context can be made.
  OffscreenContext(int width, int height);
  ~OffscreenContext();
  OffscreenContext(const OffscreenContext&) = delete;
  OffscreenContext& operator=(const OffscreenContext&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  // RGBA rows, top row first (OpenGL reads bottom-up; PNG wants top-down).
  std::vector<unsigned char> ReadPixels() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int width_;
  int height_;
};

}  // namespace qv::render_tool
