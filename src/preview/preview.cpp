#include "preview/preview.h"

#include <chrono>

#include "gl/scene_gl.h"
#include "scene/frame_director.h"
#include "store/settings.h"

namespace qv {

PreviewScene::PreviewScene(SceneState& scene, GeometryStore& store, const Host& host)
    : scene_(scene), store_(store), window_(host.window), gl_(host.gl), services_(host.services) {}

PreviewScene::~PreviewScene() {
  StopRenderThread();
}

void PreviewScene::FormCreate() {
  if (thread_.joinable()) return;
  const int width = window_.OuterWidth();
  const int height = window_.OuterHeight();
  thread_ = std::thread([this, width, height] { PreviewRenderThread(width, height); });
}

void PreviewScene::PreviewRenderThread(int width, int height) {
  Prepare(width, height);
  for (;;) {
    window_.Invalidate();
    std::this_thread::sleep_for(std::chrono::milliseconds(kPreviewIntervalMs));
    if (PreviewStop.load(std::memory_order_acquire)) break;
  }
  window_.RequestClose();
}

void PreviewScene::StopRenderThread() {
  PreviewStop.store(true, std::memory_order_release);
  if (thread_.joinable()) thread_.join();
}

void PreviewScene::FormClose() {
  StopRenderThread();
}

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
  const float aspect = PreviewHeight != 0
                           ? static_cast<float>(PreviewWidth) / static_cast<float>(PreviewHeight)
                           : 1.0f;
  SetProjection(sink, 0, 0, PreviewWidth, PreviewHeight, aspect);
}

void PreviewScene::DrawPreviewFrame() {
  if (!ready()) return;
  if (!gl_.CreateGraphics()) {
    window_.Terminate();
    return;
  }
  GlSink& sink = gl_.Sink();
  sink.ClearColor(0, 0, 0, 0);
  SetupPreviewProjection(sink);
  EnableSceneState(sink);
  FillMaterialAndLights(scene_, LightingProfile::kPreview);
  ApplyMaterialAndLights(sink, scene_);
  DrawFrame(scene_, store_, sink, kPreviewFrame);
  gl_.SwapBuffers();
  gl_.ReleaseGraphics();
}

void PreviewScene::FormKeyDown(int /*key*/) {
  PreviewStop.store(services_.VerifyPassword(), std::memory_order_release);
}

}  // namespace qv
