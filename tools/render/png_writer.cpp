#include "png_writer.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace qv::render_tool {

namespace {

void Write(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba,
           bool keep_alpha) {
  if (width <= 0 || height <= 0 ||
      rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
    throw std::runtime_error("internal: picture size does not match its pixels");
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  if (!file) throw std::runtime_error("cannot open '" + path + "' for writing");

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    throw std::runtime_error("libpng could not start");
  }
  // libpng reports errors by longjmp; keep this frame free of objects with
  // destructors between setjmp and the calls that may jump.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("cannot write PNG '" + path + "'");
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               keep_alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // The screen has no alpha: drop the framebuffer's, whose blended values
  // would only make the picture look see-through in a viewer.
  if (!keep_alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
  for (int y = 0; y < height; ++y) {
    png_write_row(png, &rgba[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4]);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(file.get()) != 0) throw std::runtime_error("cannot write PNG '" + path + "'");
}

}  // namespace

void WritePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgba) {
  Write(path, width, height, rgba, false);
}

void WritePngWithAlpha(const std::string& path, int width, int height,
                       const std::vector<unsigned char>& rgba) {
  Write(path, width, height, rgba, true);
}

}  // namespace qv::render_tool
