#include "gl/scene_gl.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace qv {
namespace {

class CountingGlyphs final : public CaptionGlyphs {
 public:
  bool Build(unsigned b, int f, int c, int h) override {
    base = b;
    first = f;
    count = c;
    height = h;
    return true;
  }
  unsigned base = 0;
  int first = 0, count = 0, height = 0;
};

TEST(CaptionFont, HeightIsMinusWidthOver34RoundedHalfEven) {
  EXPECT_EQ(CaptionFontHeight(1280), -38);  // 37.65
  EXPECT_EQ(CaptionFontHeight(1024), -30);  // 30.12
  EXPECT_EQ(CaptionFontHeight(800), -24);   // 23.53
  EXPECT_EQ(CaptionFontHeight(640), -19);   // 18.82
  EXPECT_EQ(CaptionFontHeight(85), -2);     // 2.5 goes to 2
  EXPECT_EQ(CaptionFontHeight(119), -4);    // 3.5 goes to 4
}

TEST(GraphicsSetup, LightsFromBrightnessAndASecondSetupResetsLight0Only) {
  SceneState scene;
  scene.Bright = 10;
  RecordingSink sink;
  CountingGlyphs glyphs;
  const unsigned base = SetupGraphicsState(sink, scene, 1024, 768, glyphs);
  EXPECT_EQ(glyphs.base, base);
  EXPECT_EQ(glyphs.first, 32);
  EXPECT_EQ(glyphs.count, 96);
  EXPECT_EQ(glyphs.height, -30);
  for (const float* light : {scene.Light0Diffuse, scene.Light0Specular, scene.Light1Diffuse,
                             scene.Light1Specular}) {
    EXPECT_EQ(light[0], 0.5f);
    EXPECT_EQ(light[2], 0.5f);
    EXPECT_EQ(light[3], 1.0f);
  }
  EXPECT_EQ(scene.MaterialShininess, 25.0f);

  scene.Light0Position[0] = 4.2f;
  scene.LightDrift[0] = 0.003f;
  scene.Bright = 0;
  SetupGraphicsState(sink, scene, 1024, 768, glyphs);
  EXPECT_EQ(scene.Light0Position[0], 3.0f);
  EXPECT_EQ(scene.Light0Position[1], 5.0f);
  EXPECT_EQ(scene.Light0Position[2], 1.0f);
  EXPECT_EQ(scene.LightDrift[0], 0.003f);
  EXPECT_EQ(scene.Light0Diffuse[0], 0.0f);
  EXPECT_EQ(scene.Light0Diffuse[3], 1.0f);
}

TEST(GraphicsSetup, ProjectionCarriesPerspectiveAndCameraAndModelviewIsUntouched) {
  SceneState scene;
  RecordingSink sink;
  CountingGlyphs glyphs;
  SetupGraphicsState(sink, scene, 800, 600, glyphs);
  int perspective = 0;
  for (const GlCall& c : sink.calls) {
    if (c.op == GlCall::kMatrixMode) {
      EXPECT_EQ(c.e[0], gl::kProjection);
    }
    if (c.op == GlCall::kPerspective) {
      ++perspective;
      EXPECT_EQ(c.f[0], 45);
      EXPECT_DOUBLE_EQ(c.f[1], 800.0 / 600.0);
      EXPECT_EQ(c.f[2], 0.1);
      EXPECT_EQ(c.f[3], 100);
    }
    if (c.op == GlCall::kLookAt) {
      EXPECT_EQ(c.f[2], 5);
    }
  }
  EXPECT_EQ(perspective, 1);
}

TEST(PrintText, OneListPerByteFromTheBaseMinus32) {
  RecordingSink sink;
  PrintText(sink, 1000, "Hi");
  PrintText(sink, 1000, nullptr);
  ASSERT_EQ(sink.calls.size(), 4u);
  EXPECT_EQ(sink.calls[0].op, GlCall::kPushAttrib);
  EXPECT_EQ(sink.calls[0].e[0], gl::kListBit);
  EXPECT_EQ(sink.calls[1].e[0], 968u);
  EXPECT_EQ(sink.calls[2].text, "Hi");
  EXPECT_EQ(sink.calls[3].op, GlCall::kPopAttrib);
}

}  // namespace
}  // namespace qv
