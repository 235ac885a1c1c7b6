#include <cstdio>
#include <memory>

#include "egl_context.h"
#include "geometry/geometry_store.h"
#include "gl/freetype_glyphs_posix.h"
#include "gl/opengl_headers.h"
#include "gl/opengl_sink.h"
#include "gl/scene_gl.h"
#include "pinned_kind_sink.h"
#include "png_writer.h"
#include "render_commands.h"
#include "scene/frame_director.h"
#include "store/settings.h"

namespace qv::render_tool {

namespace {
constexpr long long kIntLow = -2147483647LL - 1;
constexpr long long kIntHigh = 2147483647LL;
constexpr long long kMaxSide = 8192;
}  // namespace

std::string SnapshotOptionOf(const SettingSpec& setting) {
  std::string option = setting.name;
  for (char& c : option) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return option;
}

std::vector<std::string> SnapshotOptionNames() {
  std::vector<std::string> names = {"out",  "width", "height",     "frames",
                                    "seed", "kinds", "glyph-lists"};
  for (const SettingSpec& s : kSettings) {
    if (s.has_slider()) names.push_back(SnapshotOptionOf(s));
  }
  return names;
}

int RunSnapshot(const Options& options) {
  if (!options.Has("out")) throw UsageError("snapshot needs --out FILE.png");
  const std::string out = options.Text("out", "");
  const int width = static_cast<int>(options.Integer("width", 1024, 1, kMaxSide));
  const int height = static_cast<int>(options.Integer("height", 768, 1, kMaxSide));
  const long long frames = options.Integer("frames", 300, 1, 10000000);
  const bool seeded = options.Has("seed");
  const auto seed =
      static_cast<unsigned long long>(options.Integer("seed", 0, 0, kIntHigh * kIntHigh));
  const bool pinned = options.Has("kinds");
  std::array<int, 3> kinds{};
  if (pinned) {
    const std::vector<int> k = ParseKinds(options.Text("kinds", ""));
    kinds = {k[0], k[1], k[2]};
  }
  // Caption strings drawn as the saver draws them, one bitmap per string,
  // or one glyph list at a time: the same pixels, which tests compare.
  const std::string glyph_lists = options.Text("glyph-lists", "joined");
  if (glyph_lists != "joined" && glyph_lists != "each") {
    throw UsageError("option '--glyph-lists' takes joined or each, got '" + glyph_lists + "'");
  }
  // Unset settings as on a first run of the saver; set ones are taken as
  // they stand, as the saver takes a hand-edited store.
  SettingValues values = kFullScreenDefaults;
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    if (!kSettings[i].has_slider()) continue;
    values[i] = static_cast<int>(
        options.Integer(SnapshotOptionOf(kSettings[i]), values[i], kIntLow, kIntHigh));
  }

  // The full-screen window's creation, in its order.
  SceneState scene;
  AssignSettings(scene, values);
  DeriveSettings(scene);
  scene.BannerAlphaStep = 0.001;
  scene.BannerAlpha = 0;

  OffscreenContext context(width, height);
  OpenGlSink gl;
  FreeTypeCaptionGlyphs glyphs;
  if (glyph_lists == "joined") gl.SetStringDrawer(&glyphs);
  SetupGraphicsState(gl, scene, width, height, glyphs);
  if (glyphs.font_file().empty()) {
    std::fprintf(stderr, "quorvelian-render: no caption font found; drawing without caption\n");
  }
  auto store = std::make_unique<GeometryStore>();
  RegenerateAllSpecies(*store, scene.MeshDetail, scene.Frame);
  if (seeded) {
    InitSlots(scene, seed);
  } else {
    InitSlots(scene);
  }

  PinnedKindSink pinned_sink(gl, kinds);
  GlSink& sink = pinned ? static_cast<GlSink&>(pinned_sink) : gl;
  for (long long f = 0; f < frames; ++f) DrawFrame(scene, *store, sink, kFullScreenFrame);

  WritePng(out, width, height, context.ReadPixels());
  const std::array<int, 3> drawn = pinned ? kinds : scene.SlotKind;
  std::printf("%s: %dx%d, %lld frames, kinds %d,%d,%d\n", out.c_str(), width, height, frames,
              drawn[0], drawn[1], drawn[2]);
  return 0;
}

}  // namespace qv::render_tool
