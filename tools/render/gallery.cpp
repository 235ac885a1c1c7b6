#include <cstdio>
#include <memory>
#include <string>

#include "egl_context.h"
#include "geometry/geometry_store.h"
#include "gl/freetype_glyphs_posix.h"
#include "gl/opengl_sink.h"
#include "gl/scene_gl.h"
#include "png_writer.h"
#include "render/ranges.h"
#include "render_commands.h"
#include "store/settings.h"

namespace qv::render_tool {

namespace {
constexpr long long kIntLow = -2147483647LL - 1;
constexpr long long kIntHigh = 2147483647LL;

// One primitive: 4 x 3 cells of 256 (a 1024 x 768 sheet, kind k at column
// k % 4, row k / 4 from the top). All four: one row per primitive mode,
// twelve kinds across, cells of 160.
constexpr int kSingleCell = 256;
constexpr int kSheetCell = 160;
}  // namespace

int RunGallery(const Options& options) {
  if (!options.Has("out")) throw UsageError("gallery needs --out FILE.png");
  const std::string out = options.Text("out", "");
  const bool all = options.Text("primitive", "") == "all";
  const int primitive = all ? 0
                            : static_cast<int>(options.Integer("primitive", kQuadMode, kPointMode,
                                                               kFadingTriangleMode));

  SceneState scene;
  AssignSettings(scene, kFullScreenDefaults);
  DeriveSettings(scene);
  scene.MeshDetail =
      static_cast<int>(options.Integer("mesh-detail", scene.MeshDetail, kIntLow, kIntHigh));
  scene.Frame = static_cast<int>(options.Integer("color", scene.Frame, kIntLow, kIntHigh));

  const int cell = all ? kSheetCell : kSingleCell;
  const int columns = all ? 12 : 4;
  const int rows = all ? 4 : 3;
  const int width = columns * cell;
  const int height = rows * cell;

  OffscreenContext context(width, height);
  OpenGlSink gl;
  FreeTypeCaptionGlyphs glyphs;
  gl.SetStringDrawer(&glyphs);
  // Labels as large as the caption on a screen four cells wide, so they
  // stay inside their cell on either sheet.
  SetupGraphicsState(gl, scene, 4 * cell, height, glyphs);
  if (glyphs.font_file().empty()) {
    std::fprintf(stderr, "quorvelian-render: no caption font found; cells are not labelled\n");
  }
  auto store = std::make_unique<GeometryStore>();
  RegenerateAllSpecies(*store, scene.MeshDetail, scene.Frame);

  gl.Clear(gl::kColorBufferBit | gl::kDepthBufferBit);
  scene.CurrentAlpha = 1;
  scene.CurrentSlotAngle = 0;
  scene.TurnAngle = 360;
  for (int sheet_row = 0; sheet_row < (all ? 4 : 1); ++sheet_row) {
    scene.PrimitiveMode = all ? sheet_row : primitive;
    for (int kind = 0; kind < 12; ++kind) {
      const int col = all ? kind : kind % 4;
      const int row = all ? sheet_row : kind / 4;
      // OpenGL counts rows from the bottom.
      SetProjection(gl, col * cell, (rows - 1 - row) * cell, cell, cell, 1.0);
      gl.DrawKind(kind, scene, *store);
      gl.Color4f(1, 1, 1, 1);
      // Inside the visible square at the camera's focus (half-width 2.07).
      gl.RasterPos2f(-1.95f, 1.5f);
      const std::string label = std::to_string(kind);
      PrintText(gl, scene.FontListBase, label.c_str());
    }
  }

  WritePng(out, width, height, context.ReadPixels());
  // Report what was drawn: the generators and renderers hold the mesh
  // detail to its range and a colour 0 to 1.
  std::printf(
      "%s: %dx%d, %s, mesh detail %d, colour %d\n", out.c_str(), width, height,
      all ? "primitive modes 0..3" : ("primitive mode " + std::to_string(primitive)).c_str(),
      ClampMeshDetail(scene.MeshDetail), GeneratorFrame(scene.Frame));
  return 0;
}

}  // namespace qv::render_tool
