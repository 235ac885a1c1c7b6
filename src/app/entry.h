#pragma once
// The process entry shared by every shell: read the mode, start exactly one
// front-end, run its loop.

#include <cstdint>
#include <string_view>

namespace qv {

class FrontEnds {
 public:
  virtual ~FrontEnds() = default;
  // Each returns the process exit code once its window or dialog has ended.
  virtual int RunFullScreen() = 0;
  virtual int RunSettings() = 0;
  virtual int RunPreview(std::int32_t parent) = 0;
  virtual int ChangeSaverPassword(std::int32_t owner) = 0;
};

int RunSaver(std::string_view first_argument, std::string_view second_argument, FrontEnds& fronts);

}  // namespace qv
