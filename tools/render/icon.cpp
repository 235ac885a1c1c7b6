#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "egl_context.h"
#include "geometry/geometry_store.h"
#include "gl/opengl_sink.h"
#include "gl/scene_gl.h"
#include "icon_frame.h"
#include "png_writer.h"
#include "render/ranges.h"
#include "render_commands.h"
#include "store/settings.h"

namespace qv::render_tool {

namespace {
// Large enough that a 256-pixel icon still averages a few samples per pixel.
constexpr int kCanvas = 1024;
// The application's icon: the red cup of the first kind, drawn solid.
constexpr int kIconKind = 0;
}  // namespace

int RunIcon(const Options& options) {
  if (!options.Has("out")) throw UsageError("icon needs --out FILE.png");
  const std::string out = options.Text("out", "");
  const int side = static_cast<int>(options.Integer("size", 48, kMinIconSide, kMaxIconSide));
  const int kind = static_cast<int>(options.Integer("kind", kIconKind, 0, 11));

  // The densest mesh and the strongest colours read best when shrunk.
  SceneState scene;
  AssignSettings(scene, kFullScreenDefaults);
  scene.Satiation = 10;
  scene.Frame = 9;
  DeriveSettings(scene);
  scene.PrimitiveMode = kQuadMode;
  scene.CurrentAlpha = 1;
  scene.CurrentSlotAngle = 0;
  scene.TurnAngle = 360;

  OffscreenContext context(kCanvas, kCanvas);
  OpenGlSink gl;
  // A transparent background: cleared to alpha 0, and the solid quads
  // blend to alpha 1 wherever the flower is.
  gl.ClearColor(0, 0, 0, 0);
  SetProjection(gl, 0, 0, kCanvas, kCanvas, 1.0);
  EnableSceneState(gl);
  FillMaterialAndLights(scene, LightingProfile::kFullScreen);
  ApplyMaterialAndLights(gl, scene);
  auto store = std::make_unique<GeometryStore>();
  RegenerateAllSpecies(*store, scene.MeshDetail, scene.Frame);

  gl.Clear(gl::kColorBufferBit | gl::kDepthBufferBit);
  gl.DrawKind(kind, scene, *store);
  const std::vector<unsigned char> canvas = context.ReadPixels();

  const IconFrame frame = FrameBlossom(canvas, kCanvas, kCanvas);
  if (frame.side == 0) throw std::runtime_error("the flower left the canvas empty");
  const std::vector<unsigned char> icon = ShrinkToIcon(canvas, kCanvas, kCanvas, frame, side);
  WritePngWithAlpha(out, side, side, icon);
  std::printf("%s: %dx%d, kind %d\n", out.c_str(), side, side, kind);
  return 0;
}

}  // namespace qv::render_tool
