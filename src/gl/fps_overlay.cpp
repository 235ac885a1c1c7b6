#include "gl/fps_overlay.h"

#include <cstdio>

#include "gl/scene_gl.h"

namespace qv {

namespace {
constexpr double kReadingInterval = 1.0;  // seconds

std::string Format(const char* format, double value) {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return text;
}
}  // namespace

void FrameRateMeter::FrameBegin(double now) {
  if (!started_) {
    started_ = true;
    window_start_ = now;
  } else if (now - window_start_ >= kReadingInterval && frames_ > 0) {
    frames_per_second_ = frames_ / (now - window_start_);
    frame_milliseconds_ = 1000.0 * busy_ / frames_;
    has_reading_ = true;
    window_start_ = now;
    frames_ = 0;
    busy_ = 0;
  }
  frame_start_ = now;
}

void FrameRateMeter::FrameEnd(double now) {
  if (!started_) return;
  ++frames_;
  busy_ += now - frame_start_;
}

std::string FrameRateMeter::RateLine() const {
  return has_reading_ ? Format("FPS: %.1f", frames_per_second_) : std::string();
}

std::string FrameRateMeter::TimeLine() const {
  return has_reading_ ? Format("Frame: %.1f ms", frame_milliseconds_) : std::string();
}

void DrawFpsOverlay(GlSink& sink, unsigned font_list_base, int glyph_height, int width, int height,
                    const FrameRateMeter& meter) {
  if (!meter.has_reading() || width <= 0 || height <= 0) return;
  // With both matrices at identity a raster position is in the viewport's
  // -1..1 coordinates, so the corner does not depend on the aspect ratio or
  // the camera. The modelview matrix is always identity here.
  sink.PushMatrix();
  sink.LoadIdentity();
  const double px = glyph_height < 0 ? -glyph_height : glyph_height;
  const double margin = px / 2;
  const float x = static_cast<float>(-1 + 2 * margin / width);
  const float bottom = static_cast<float>(-1 + 2 * margin / height);
  const float line = static_cast<float>(2 * 1.25 * px / height);
  sink.Color4f(1, 1, 1, 1);
  sink.RasterPos2f(x, bottom + line);
  PrintText(sink, font_list_base, meter.RateLine().c_str());
  sink.RasterPos2f(x, bottom);
  PrintText(sink, font_list_base, meter.TimeLine().c_str());
  sink.PopMatrix();
}

}  // namespace qv
