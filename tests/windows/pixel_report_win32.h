#pragma once
// Only in the test build of the .scr: under Wine a GL child window of a
// foreign window renders off screen, so the preview's drawn pixels can only
// be seen from inside. Counts the lit pixels of every frame's back buffer
// into the file that QUORVELIAN_PREVIEW_PIXEL_REPORT names.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gl/opengl_headers.h"
#include "platform/win32/message_loop_win32.h"

namespace qv {

class PixelReport final : public Win32Controls {
 public:
  PixelReport() {
    if (const char* path = std::getenv("QUORVELIAN_PREVIEW_PIXEL_REPORT")) path_ = path;
  }
  void Create(HWND window, HINSTANCE, WglWindow&) override { window_ = window; }
  bool Message(UINT, WPARAM, LPARAM, LRESULT*) override { return false; }
  void Layout() override {}

  void BeforeSwap() override {
    RECT r = {};
    if (path_.empty() || !GetClientRect(window_, &r)) return;
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return;
    pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels_.data());
    long lit = 0;
    for (std::size_t i = 0; i < pixels_.size(); i += 4) {
      if (pixels_[i] > 8 || pixels_[i + 1] > 8 || pixels_[i + 2] > 8) ++lit;
    }
    ++frames_;
    if (FILE* f = std::fopen(path_.c_str(), "w")) {
      std::fprintf(f, "frames %ld lit %ld size %d %d\n", frames_, lit, width, height);
      std::fclose(f);
    }
  }

 private:
  std::string path_;
  HWND window_ = nullptr;
  std::vector<unsigned char> pixels_;
  long frames_ = 0;
};

inline std::unique_ptr<Win32Controls> MakePixelReport() {
  return std::make_unique<PixelReport>();
}

}  // namespace qv
