#include "dumps.h"

#include <memory>

#include "geometry/geometry_store.h"
#include "render/ranges.h"
#include "testing/recording_sink.h"
#include "scene/scene_state.h"

namespace qv::render_tool {

namespace {
// Wide enough for any int a settings file could hold; the scene clamps the
// values itself, which is part of what the dumps show.
constexpr long long kIntLow = -2147483647LL - 1;
constexpr long long kIntHigh = 2147483647LL;
}  // namespace

int RunGeometry(const Options& options, std::FILE* out) {
  const int mesh = static_cast<int>(options.Integer("mesh-detail", 1, kIntLow, kIntHigh));
  const int colour = static_cast<int>(options.Integer("color", 7, kIntLow, kIntHigh));
  // Heap, zeroed: a fresh store, as at process start.
  auto store = std::make_unique<GeometryStore>();
  RegenerateAllSpecies(*store, mesh, colour);
  // The generators ran with the clamped value, so the filled ranges are
  // those of the clamped value too.
  const int M = ClampMeshDetail(mesh);

  std::fprintf(out, "species,part,row,col,x,y,z,r,g,b,r2,g2,b2\n");
  for (int species = 1; species <= 6; ++species) {
    const SpeciesView v = store->View(species);
    for (int part = 0; part < SpeciesPartCount(species); ++part) {
      const PartRange range = FilledRange(species, part, M);
      for (int row = 0; row <= range.last_row; ++row) {
        for (int col = 0; col <= range.last_col; ++col) {
          std::fprintf(out, "%d,%d,%d,%d", species, part, row, col);
          for (int c = kPointX; c <= kColorB; ++c) {
            std::fprintf(out, ",%.17g", v.At(static_cast<Channel>(c), part, row, col));
          }
          for (int c = kColorR2; c <= kColorB2; ++c) {
            // Set B is not part of stem and leaf parts; whatever the cells
            // hold there is not a value anyone may compare against.
            const double value =
                range.has_set_b ? v.At(static_cast<Channel>(c), part, row, col) : 0;
            std::fprintf(out, ",%.17g", value);
          }
          std::fputc('\n', out);
        }
      }
    }
  }
  return 0;
}

int RunCalls(const Options& options, std::FILE* out) {
  if (!options.Has("kind")) throw UsageError("calls needs --kind 0..11");
  if (!options.Has("primitive")) throw UsageError("calls needs --primitive 0..3");
  if (!options.Has("mesh-detail")) throw UsageError("calls needs --mesh-detail");
  const int kind = static_cast<int>(options.Integer("kind", 0, 0, 11));

  SceneState scene;
  // The renderers draw nothing for other modes; a dump of nothing would
  // only hide a mistyped number.
  scene.PrimitiveMode =
      static_cast<int>(options.Integer("primitive", 0, kPointMode, kFadingTriangleMode));
  scene.MeshDetail = static_cast<int>(options.Integer("mesh-detail", 1, kIntLow, kIntHigh));
  scene.Frame = static_cast<int>(options.Integer("color", 7, kIntLow, kIntHigh));
  scene.Size = static_cast<int>(options.Integer("size", 12, kIntLow, kIntHigh));
  scene.CurrentAlpha = options.Real("alpha", 1);
  scene.CurrentSlotAngle = static_cast<int>(options.Integer("slot-angle", 0, kIntLow, kIntHigh));
  scene.TurnAngle = options.Real("turn", 360);

  auto store = std::make_unique<GeometryStore>();
  RegenerateAllSpecies(*store, scene.MeshDetail, scene.Frame);

  RecordingSink sink;
  sink.DrawKind(kind, scene, *store);
  for (const GlCall& call : sink.calls) {
    const std::string line = FormatRendererCall(call);
    if (!line.empty()) std::fprintf(out, "%s\n", line.c_str());
  }
  return 0;
}

}  // namespace qv::render_tool
