#include "preview/preview.h"

#include "gl/scene_gl.h"
#include "scene/frame_director.h"
#include "store/settings.h"

namespace qv {

PreviewScene::PreviewScene(SceneState& scene, GeometryStore& store)
    : scene_(scene), store_(store) {}

void PreviewScene::Prepare(int width, int height) {
  scene_.Random.Seed(ClockSeed());
  PreviewWidth = width;
  PreviewHeight = height;
  AssignSettings(scene_, kPreviewValues);
  DeriveSettings(scene_);
  RegenerateAllSpecies(store_, scene_.MeshDetail, scene_.Frame);
  InitSlots(scene_);
  // Paints on the window's thread read the scene only after this.
  ready_.store(true, std::memory_order_release);
}

void PreviewScene::SetupPreviewProjection(GlSink& sink) {
  const float aspect =
      PreviewHeight != 0 ? static_cast<float>(PreviewWidth) / static_cast<float>(PreviewHeight)
                         : 1.0f;
  SetProjection(sink, 0, 0, PreviewWidth, PreviewHeight, aspect);
}

void PreviewScene::DrawPreviewFrame(WindowHost& host) {
  if (!ready()) return;
  if (!host.CreateGraphics()) {
    host.Terminate();
    return;
  }
  GlSink& sink = host.Sink();
  sink.ClearColor(0, 0, 0, 0);
  SetupPreviewProjection(sink);
  EnableSceneState(sink);
  FillMaterialAndLights(scene_, LightingProfile::kPreview);
  ApplyMaterialAndLights(sink, scene_);
  DrawFrame(scene_, store_, sink, kPreviewFrame);
  host.SwapBuffers();
  host.ReleaseGraphics();
}

void PreviewScene::KeyDown(WindowHost& host) {
  PreviewStop.store(host.VerifyPassword(), std::memory_order_release);
}

}  // namespace qv
