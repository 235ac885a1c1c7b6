#pragma once
#include <string>
#include <vector>

namespace qv::render_tool {

// 8-bit RGBA rows, top row first, written as RGB. Throws std::runtime_error naming the file
// when it cannot be written.
void WritePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgba);
// The same rows kept as RGBA (straight, not premultiplied, alpha), for
// pictures meant to lie over other backgrounds.
void WritePngWithAlpha(const std::string& path, int width, int height,
                       const std::vector<unsigned char>& rgba);

}  // namespace qv::render_tool
