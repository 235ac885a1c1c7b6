#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "egl_context.h"
#include "frame_cases.h"
#include "geometry/geometry_store.h"
#include "gl/freetype_glyphs_posix.h"
#include "gl/opengl_headers.h"
#include "gl/opengl_sink.h"
#include "gl/scene_gl.h"
#include "render_commands.h"
#include "scene/frame_director.h"
#include "store/settings.h"
#include "testing/recording_sink.h"

namespace qv::render_tool {

namespace {

using Clock = std::chrono::steady_clock;

// Median over repetitions of the mean time of one call, in milliseconds.
// Each repetition runs enough calls to last about 20 ms, so that the clock's
// resolution does not show in the fast cases; a warm-up repetition first
// fills caches and lets the driver compile its paths.
double MedianMilliseconds(int repetitions, const std::function<void()>& body) {
  const auto start = Clock::now();
  body();
  const double first = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  const int batch = std::clamp(static_cast<int>(20.0 / std::max(first, 1e-4)), 1, 100000);
  for (int i = 0; i < batch; ++i) body();
  std::vector<double> means;
  for (int r = 0; r < repetitions; ++r) {
    const auto t0 = Clock::now();
    for (int i = 0; i < batch; ++i) body();
    means.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / batch);
  }
  std::sort(means.begin(), means.end());
  const std::size_t n = means.size();
  return n % 2 == 1 ? means[n / 2] : (means[n / 2 - 1] + means[n / 2]) / 2;
}

void Report(const char* name, double ms, double target_ms) {
  std::printf("%-44s %10.4f ms   (target %g ms)%s\n", name, ms, target_ms,
              ms <= target_ms ? "" : "  OVER");
  std::fflush(stdout);
}

}  // namespace

int RunBench(const Options& options) {
  const int reps = static_cast<int>(options.Integer("repetitions", 15, 1, 10000));
  std::printf("medians of %d repetitions\n", reps);

  {
    auto store = std::make_unique<GeometryStore>();
    for (int m = kMinMeshDetail; m <= kMaxMeshDetail; ++m) {
      const double ms = MedianMilliseconds(
          reps, [&] { RegenerateAllSpecies(*store, m, bench::kRegenerateColour); });
      char name[64];
      std::snprintf(name, sizeof name, "RegenerateAllSpecies M=%d", m);
      Report(name, ms, 5);
    }
  }

  for (const bench::FrameCase& c : bench::kFrameCases) {
    bench::FrameScene frame(c.heaviest);
    NullSink sink;
    const double ms = MedianMilliseconds(reps, [&] { frame.Step(sink); });
    Report((std::string("frame, null sink, ") + c.name).c_str(), ms, 0.5);
  }

  {
    const int width = 1024;
    const int height = 768;
    OffscreenContext context(width, height);
    for (const bench::FrameCase& c : bench::kFrameCases) {
      bench::FrameScene frame(c.heaviest);
      OpenGlSink gl;
      FreeTypeCaptionGlyphs glyphs;
      gl.SetStringDrawer(&glyphs);
      SetupGraphicsState(gl, frame.scene, width, height, glyphs);
      const double ms = MedianMilliseconds(reps, [&] {
        frame.Step(gl);
        glFinish();
      });
      Report((std::string("frame, OpenGL 1024x768, ") + c.name).c_str(), ms, 31);
      DeleteFontLists(gl, frame.scene.FontListBase);
    }

    // The caption by itself, half faded in, one glyph list at a time and
    // joined into one bitmap per line as the saver draws it.
    for (const bool joined : {false, true}) {
      bench::FrameScene frame(false);
      OpenGlSink gl;
      FreeTypeCaptionGlyphs glyphs;
      if (joined) gl.SetStringDrawer(&glyphs);
      SetupGraphicsState(gl, frame.scene, width, height, glyphs);
      frame.scene.BannerAlpha = 0.5;
      const double ms = MedianMilliseconds(reps, [&] {
        DrawCaption(frame.scene, gl);
        glFinish();
      });
      Report(joined ? "caption, OpenGL 1024x768, joined strings"
                    : "caption, OpenGL 1024x768, list per glyph",
             ms, 31);
      DeleteFontLists(gl, frame.scene.FontListBase);
    }
  }
  return 0;
}

}  // namespace qv::render_tool
