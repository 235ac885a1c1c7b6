#pragma once
// What --fps shows, as XScreenSaver's own modules do: the frames per second
// and the time one frame takes to draw, in a corner, with the caption's
// glyphs. The shell feeds the meter its clock; nothing here reads one.

#include <string>

#include "render/gl_sink.h"

namespace qv {

class FrameRateMeter {
 public:
  // Seconds on any steadily increasing clock, around the drawing of each frame.
  void FrameBegin(double now);
  void FrameEnd(double now);

  // Both refer to the last full second; false until one has passed.
  bool has_reading() const { return has_reading_; }
  double frames_per_second() const { return frames_per_second_; }
  double frame_milliseconds() const { return frame_milliseconds_; }
  // "FPS: 32.3" and "Frame: 4.1 ms"; empty before the first reading.
  std::string RateLine() const;
  std::string TimeLine() const;

 private:
  bool started_ = false;
  double window_start_ = 0;
  double frame_start_ = 0;
  int frames_ = 0;
  double busy_ = 0;
  bool has_reading_ = false;
  double frames_per_second_ = 0;
  double frame_milliseconds_ = 0;
};

// The two lines at the lower left corner of a width x height viewport,
// whatever its projection (restored afterwards), glyphs of `glyph_height`
// pixels from the lists at `font_list_base`.
void DrawFpsOverlay(GlSink& sink, unsigned font_list_base, int glyph_height, int width, int height,
                    const FrameRateMeter& meter);

}  // namespace qv
