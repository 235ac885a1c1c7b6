#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "egl_context.h"
#include "geometry/geometry_store.h"
#include "gl/freetype_glyphs_posix.h"
#include "gl/opengl_headers.h"
#include "gl/opengl_sink.h"
#include "gl/scene_gl.h"
#include "pinned_kind_sink.h"
#include "render/recording_sink.h"
#include "render_commands.h"
#include "scene/frame_director.h"
#include "store/settings.h"

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

// The saver's frame: defaults as on a first run, or the heaviest load the
// settings allow (species 4 in all three slots, mesh detail 5, sparkles,
// every slot held fully opaque).
struct FrameCase {
  bool heaviest;
  SceneState scene;
  std::unique_ptr<GeometryStore> store = std::make_unique<GeometryStore>();

  explicit FrameCase(bool heavy) : heaviest(heavy) {
    SettingValues values = kFullScreenDefaults;
    if (heavy) {
      values[2] = 10;  // Satiation: mesh detail 5
      values[4] = 3;   // Snow: primitive mode 1, sparkles
    }
    AssignSettings(scene, values);
    DeriveSettings(scene);
    scene.BannerAlphaStep = 0.001;
    RegenerateAllSpecies(*store, scene.MeshDetail, scene.Frame);
    InitSlots(scene, 1);
  }
  void Step(GlSink& sink) {
    if (heaviest) {
      for (int k = 0; k < 3; ++k) {
        scene.SlotAlpha[k] = 1;
        scene.SlotAge[k] = 0;
      }
    }
    DrawFrame(scene, *store, sink, kFullScreenFrame);
  }
};

constexpr std::array<int, 3> kHeaviestKinds = {3, 3, 3};

}  // namespace

int RunBench(const Options& options) {
  const int reps = static_cast<int>(options.Integer("repetitions", 15, 1, 10000));
  std::printf("medians of %d repetitions\n", reps);

  {
    auto store = std::make_unique<GeometryStore>();
    for (int m = kMinMeshDetail; m <= kMaxMeshDetail; ++m) {
      const double ms = MedianMilliseconds(reps, [&] { RegenerateAllSpecies(*store, m, 5); });
      char name[64];
      std::snprintf(name, sizeof name, "RegenerateAllSpecies M=%d", m);
      Report(name, ms, 5);
    }
  }

  for (bool heavy : {false, true}) {
    FrameCase c(heavy);
    NullSink null_sink;
    PinnedKindSink pinned(null_sink, kHeaviestKinds);
    GlSink& sink = heavy ? static_cast<GlSink&>(pinned) : null_sink;
    const double ms = MedianMilliseconds(reps, [&] { c.Step(sink); });
    Report(heavy ? "frame, null sink, heaviest" : "frame, null sink, defaults", ms, 0.5);
  }

  {
    const int width = 1024;
    const int height = 768;
    OffscreenContext context(width, height);
    for (bool heavy : {false, true}) {
      FrameCase c(heavy);
      OpenGlSink gl;
      FreeTypeCaptionGlyphs glyphs;
      SetupGraphicsState(gl, c.scene, width, height, glyphs);
      PinnedKindSink pinned(gl, kHeaviestKinds);
      GlSink& sink = heavy ? static_cast<GlSink&>(pinned) : gl;
      const double ms = MedianMilliseconds(reps, [&] {
        c.Step(sink);
        glFinish();
      });
      Report(heavy ? "frame, OpenGL 1024x768, heaviest" : "frame, OpenGL 1024x768, defaults", ms,
             31);
      DeleteFontLists(gl, c.scene.FontListBase);
    }
  }
  return 0;
}

}  // namespace qv::render_tool
