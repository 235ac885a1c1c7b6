#pragma once
// The OpenGL state every front-end sets up, expressed through the sink:
// projection and camera on the projection matrix (the modelview matrix is
// never touched), fixed state, material, lights, caption text.

#include "render/gl_sink.h"
#include "scene/scene_state.h"

namespace qv {

// Viewport, then perspective (45 degrees, near 0.1, far 100) and the camera
// from (0, 0, 5) to the origin, both on the projection matrix, which stays
// selected.
void SetProjection(GlSink& sink, int x, int y, int width, int height, double aspect);
// The full-screen window's resize: the whole client area, aspect width / height.
void FormResizeProjection(GlSink& sink, int width, int height);

// Light colours: diffuse0, specular0, diffuse1, specular1 = factor * Bright / 10.
void SetLightColours(SceneState& scene, double diffuse0, double specular0, double diffuse1,
                     double specular1);
void ApplyLightColours(GlSink& sink, const SceneState& scene);

enum class LightingProfile { kFullScreen, kSettingsWindow, kPreview };
// Material and light arrays of the profile, light 0 back at its start.
void FillMaterialAndLights(SceneState& scene, LightingProfile profile);
// Material (front diffuse, front specular, front and back shininess), both
// lights (position, diffuse, specular), then lighting and both lights on.
void ApplyMaterialAndLights(GlSink& sink, const SceneState& scene);

// Alpha test, depth test, colour material, blending by source alpha.
void EnableSceneState(GlSink& sink);

// Where caption glyphs come from (wglUseFontBitmapsA, FreeType): fills the
// display lists base .. base + count - 1 with the glyphs of characters
// first .. first + count - 1 of the caption font at `height` (negative: a
// character height in pixels).
class CaptionGlyphs {
 public:
  virtual ~CaptionGlyphs() = default;
  virtual bool Build(unsigned base, int first, int count, int height) = 0;
};

inline constexpr int kFontFirstChar = 32;
inline constexpr int kFontListCount = 96;

// Minus the nearest integer to width / 34, halves to even.
int CaptionFontHeight(int screen_width);

// The full-screen window's graphics set-up after its context is current:
// clear colour, viewport and projection, 96 glyph lists, fixed state,
// material and lights. Returns FontListBase (also stored in the scene).
unsigned SetupGraphicsState(GlSink& sink, SceneState& scene, int width, int height,
                            CaptionGlyphs& glyphs);

void PrintText(GlSink& sink, unsigned font_list_base, const char* text);
void DeleteFontLists(GlSink& sink, unsigned font_list_base);

}  // namespace qv
