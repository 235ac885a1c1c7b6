#include "gl/scene_gl.h"

#include <cmath>
#include <cstring>

#include "store/settings.h"

namespace qv {

namespace {
void Set4(float* out, float a, float b, float c, float d) {
  out[0] = a;
  out[1] = b;
  out[2] = c;
  out[3] = d;
}
void SetGrey(float* out, double level) {
  const auto v = static_cast<float>(level);
  Set4(out, v, v, v, 1);
}
}  // namespace

void SetProjection(GlSink& sink, int x, int y, int width, int height, double aspect) {
  sink.Viewport(x, y, width, height);
  sink.MatrixMode(gl::kProjection);
  sink.LoadIdentity();
  sink.Perspective(45, aspect, 0.1, 100);
  sink.MatrixMode(gl::kProjection);
  sink.LookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
}

void FormResizeProjection(GlSink& sink, int width, int height) {
  const double aspect = height != 0 ? static_cast<double>(width) / height : 1.0;
  SetProjection(sink, 0, 0, width, height, aspect);
}

void SetLightColours(SceneState& scene, double diffuse0, double specular0, double diffuse1,
                     double specular1) {
  const int b = scene.Bright;
  SetGrey(scene.Light0Diffuse, diffuse0 * b / 10);
  SetGrey(scene.Light0Specular, specular0 * b / 10);
  SetGrey(scene.Light1Diffuse, diffuse1 * b / 10);
  SetGrey(scene.Light1Specular, specular1 * b / 10);
}

void ApplyLightColours(GlSink& sink, const SceneState& scene) {
  sink.Lightfv(gl::kLight0, gl::kDiffuse, scene.Light0Diffuse);
  sink.Lightfv(gl::kLight0, gl::kSpecular, scene.Light0Specular);
  sink.Lightfv(gl::kLight1, gl::kDiffuse, scene.Light1Diffuse);
  sink.Lightfv(gl::kLight1, gl::kSpecular, scene.Light1Specular);
}

void FillMaterialAndLights(SceneState& scene, LightingProfile profile) {
  const bool preview = profile == LightingProfile::kPreview;
  SetGrey(scene.MaterialSpecular, preview ? 0.7 : 0.5);
  SetGrey(scene.MaterialDiffuse, preview ? 0.3 : 0.5);
  scene.MaterialShininess = preview ? 15.0f : 25.0f;
  Set4(scene.Light0Position, 3, 5, 1, 1);
  Set4(scene.Light1Position, -1, 7, 2, 1);
  if (preview) {
    SetLightColours(scene, 0.3, 0.5, 0.3, 0.5);
  } else {
    SetLightColours(scene, 0.5, 0.5, 0.5, 0.5);
  }
}

void ApplyMaterialAndLights(GlSink& sink, const SceneState& scene) {
  sink.Materialfv(gl::kFront, gl::kDiffuse, scene.MaterialDiffuse);
  sink.Materialfv(gl::kFront, gl::kSpecular, scene.MaterialSpecular);
  sink.Materialf(gl::kFront, gl::kShininess, scene.MaterialShininess);
  sink.Materialf(gl::kBack, gl::kShininess, scene.MaterialShininess);
  sink.Lightfv(gl::kLight0, gl::kPosition, scene.Light0Position);
  sink.Lightfv(gl::kLight0, gl::kDiffuse, scene.Light0Diffuse);
  sink.Lightfv(gl::kLight0, gl::kSpecular, scene.Light0Specular);
  sink.Lightfv(gl::kLight1, gl::kPosition, scene.Light1Position);
  sink.Lightfv(gl::kLight1, gl::kDiffuse, scene.Light1Diffuse);
  sink.Lightfv(gl::kLight1, gl::kSpecular, scene.Light1Specular);
  sink.Enable(gl::kLighting);
  sink.Enable(gl::kLight0);
  sink.Enable(gl::kLight1);
}

void EnableSceneState(GlSink& sink) {
  sink.Enable(gl::kAlphaTest);
  sink.Enable(gl::kDepthTest);
  sink.Enable(gl::kColorMaterial);
  sink.Enable(gl::kBlend);
  sink.BlendFunc(gl::kSrcAlpha, gl::kOneMinusSrcAlpha);
}

int CaptionFontHeight(int screen_width) { return -RoundHalfEven(screen_width / 34.0); }

unsigned SetupGraphicsState(GlSink& sink, SceneState& scene, int width, int height,
                            CaptionGlyphs& glyphs) {
  sink.ClearColor(0, 0, 0, 0);
  FormResizeProjection(sink, width, height);
  scene.FontListBase = sink.GenLists(kFontListCount);
  glyphs.Build(scene.FontListBase, kFontFirstChar, kFontListCount, CaptionFontHeight(width));
  EnableSceneState(sink);
  FillMaterialAndLights(scene, LightingProfile::kFullScreen);
  ApplyMaterialAndLights(sink, scene);
  return scene.FontListBase;
}

void PrintText(GlSink& sink, unsigned font_list_base, const char* text) {
  if (text == nullptr) return;
  sink.PushAttrib(gl::kListBit);
  sink.ListBase(font_list_base - kFontFirstChar);
  sink.CallLists(static_cast<int>(std::strlen(text)), gl::kUnsignedByte, text);
  sink.PopAttrib();
}

void DeleteFontLists(GlSink& sink, unsigned font_list_base) {
  sink.DeleteLists(font_list_base, kFontListCount);
}

}  // namespace qv
