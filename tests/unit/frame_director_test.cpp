#include "scene/frame_director.h"

#include <gtest/gtest.h>

#include "gl/scene_gl.h"
#include "test_support.h"

namespace qv {
namespace {

using testing_support::FlowerRotations;
using testing_support::World;

World Started(unsigned long long seed, int fast = 5) {
  World w;
  w.scene.Fast = fast;
  w.scene.MeshDetail = 1;
  w.scene.PrimitiveMode = 0;
  FillMaterialAndLights(w.scene, LightingProfile::kFullScreen);
  InitSlots(w.scene, seed);
  return w;
}

TEST(InitSlots, AnglesAgesAndTurn) {
  for (unsigned long long seed = 0; seed < 200; ++seed) {
    World w = Started(seed);
    EXPECT_EQ(w.scene.SlotAngle, (std::array<int, 3>{240, 120, 0}));
    EXPECT_GE(w.scene.SlotAge[0], 0);
    EXPECT_LE(w.scene.SlotAge[0], 24);
    EXPECT_GE(w.scene.SlotAge[1], 75);
    EXPECT_LE(w.scene.SlotAge[1], 99);
    EXPECT_GE(w.scene.SlotAge[2], 150);
    EXPECT_LE(w.scene.SlotAge[2], 174);
    for (int kind : w.scene.SlotKind) {
      EXPECT_GE(kind, 0);
      EXPECT_LE(kind, 11);
    }
    EXPECT_EQ(w.scene.TurnAngle, 360.0);
    EXPECT_EQ(w.scene.SlotAlpha, (std::array<double, 3>{0, 0, 0}));
  }
}

TEST(FrameDirector, FirstFrameRotatesTheFlowersBy600_480_360InOrder213) {
  World w = Started(7, 0);
  RecordingSink sink;
  DrawFrame(w.scene, *w.store, sink, kFullScreenFrame);
  EXPECT_EQ(FlowerRotations(sink.calls), (std::vector<double>{480, 600, 360}));
}

TEST(FrameDirector, DrawOrderFollowsTheThirdOfTheTurn) {
  struct Case {
    double turn;
    std::vector<double> rotations;  // slot angle + turn of the slots drawn, in order
  };
  const Case cases[] = {
      {360, {480, 600, 360}}, {300, {420, 540, 300}}, {240, {360, 480, 240}},
      {239.5, {479.5, 359.5, 239.5}}, {120, {360, 240, 120}}, {119.5, {119.5, 359.5, 239.5}},
      {0.5, {0.5, 240.5, 120.5}}, {0, {}}, {-3, {}}, {360.5, {}},
  };
  for (const Case& c : cases) {
    World w = Started(1, 0);
    w.scene.SlotAlpha = {0.5, 0.5, 0.5};
    w.scene.SlotAge = {0, 0, 0};
    w.scene.TurnAngle = c.turn;
    RecordingSink sink;
    DrawSlotsInOrder(w.scene, *w.store, sink);
    EXPECT_EQ(FlowerRotations(sink.calls), c.rotations) << "turn " << c.turn;
    if (c.rotations.empty()) {
      EXPECT_EQ(w.scene.SlotAlpha, (std::array<double, 3>{0.5, 0.5, 0.5})) << "nothing fades";
    }
  }
}

TEST(FrameDirector, TurnWraps) {
  {  // Fast 0: never turns.
    World w = Started(3, 0);
    NullSink sink;
    for (int i = 0; i < 50; ++i) DrawFrame(w.scene, *w.store, sink, kFullScreenFrame);
    EXPECT_EQ(w.scene.TurnAngle, 360.0);
  }
  {  // Fast 5: one degree a frame, 0 becomes 360 in the same frame.
    World w = Started(3, 5);
    NullSink sink;
    for (int i = 1; i <= 359; ++i) DrawFrame(w.scene, *w.store, sink, kFullScreenFrame);
    EXPECT_EQ(w.scene.TurnAngle, 1.0);
    DrawFrame(w.scene, *w.store, sink, kFullScreenFrame);
    EXPECT_EQ(w.scene.TurnAngle, 360.0);
  }
  {  // Fast 7: 1.4 a frame; about 0.2 is followed by 360, not by 358.8.
    World w = Started(3, 7);
    NullSink sink;
    for (int i = 1; i <= 257; ++i) DrawFrame(w.scene, *w.store, sink, kFullScreenFrame);
    EXPECT_NEAR(w.scene.TurnAngle, 0.2, 1e-9);
    DrawFrame(w.scene, *w.store, sink, kFullScreenFrame);
    EXPECT_EQ(w.scene.TurnAngle, 360.0);
  }
  {  // Negative speed: the turn leaves (0, 360] and no flower is drawn again.
    World w = Started(3, -5);
    RecordingSink first;
    DrawFrame(w.scene, *w.store, first, kFullScreenFrame);
    EXPECT_EQ(FlowerRotations(first.calls).size(), 3u);
    RecordingSink later;
    for (int i = 0; i < 5; ++i) DrawFrame(w.scene, *w.store, later, kFullScreenFrame);
    EXPECT_TRUE(FlowerRotations(later.calls).empty());
  }
}

// Frame numbers (1-based) at which a slot first starts fading out, and the
// length of its later cycles, watched through its alpha.
TEST(FrameDirector, SlotCycles) {
  for (unsigned long long seed : {11ull, 12ull, 13ull, 14ull}) {
    World w = Started(seed, 5);
    const std::array<int, 3> start_ages = w.scene.SlotAge;
    NullSink sink;
    std::array<int, 3> first_fade_out = {0, 0, 0};
    std::array<std::vector<int>, 3> restarts;
    std::array<double, 3> previous = {0, 0, 0};
    for (int frame = 1; frame <= 1200; ++frame) {
      DrawFrame(w.scene, *w.store, sink, kFullScreenFrame);
      for (int k = 0; k < 3; ++k) {
        const double a = w.scene.SlotAlpha[k];
        EXPECT_GE(a, 0.0);
        EXPECT_LE(a, 1.0);
        if (frame == 40) {
          EXPECT_EQ(a, 1.0) << "reached 1 in the 40th frame of the fade-in";
        }
        if (frame == 39) {
          EXPECT_LT(a, 1.0);
        }
        if (a < previous[k] && first_fade_out[k] == 0) first_fade_out[k] = frame;
        if (w.scene.SlotAge[k] == 0) restarts[k].push_back(frame);
        previous[k] = a;
      }
    }
    for (int k = 0; k < 3; ++k) {
      // The age test uses the age after this frame's +1: age a + n reaches L.
      EXPECT_EQ(first_fade_out[k], kSlotFadeOutAge[k] - start_ages[k]) << "slot " << k + 1;
      ASSERT_GE(restarts[k].size(), 3u);
      // First restart 40 frames after the fade-out began, then every L + 40.
      EXPECT_EQ(restarts[k][0], first_fade_out[k] + 40);
      EXPECT_EQ(restarts[k][1] - restarts[k][0], kSlotFadeOutAge[k] + 40);
      EXPECT_EQ(restarts[k][2] - restarts[k][1], kSlotFadeOutAge[k] + 40);
    }
    EXPECT_GE(first_fade_out[2], 136);
    EXPECT_LE(first_fade_out[2], 160);
    EXPECT_GE(first_fade_out[1], 206);
    EXPECT_LE(first_fade_out[1], 230);
    EXPECT_GE(first_fade_out[0], 276);
    EXPECT_LE(first_fade_out[0], 300);
  }
}

TEST(FrameDirector, HoldingSlotDrawsWith1025AndClampsBack) {
  World w = Started(5, 0);
  w.scene.SlotAlpha = {1, 1, 1};
  w.scene.SlotAge = {10, 10, 10};
  RecordingSink sink;
  Flo_1(w.scene, *w.store, sink);
  EXPECT_EQ(w.scene.CurrentAlpha, 1.025);
  EXPECT_EQ(w.scene.SlotAlpha[0], 1.0);
  EXPECT_EQ(w.scene.CurrentSlotAngle, 240);
  // Fading out to exactly 0, never below.
  w.scene.SlotAge[0] = 400;
  w.scene.SlotAlpha[0] = 0.01;
  Flo_1(w.scene, *w.store, sink);
  EXPECT_EQ(w.scene.SlotAlpha[0], 0.0);
}

TEST(FrameDirector, SlotThatJustReachedZeroRestartsNextFrame) {
  World w = Started(5, 0);
  w.scene.SlotAlpha = {0.02, 1, 1};
  w.scene.SlotAge = {350, 10, 10};
  w.scene.SlotKind = {4, 4, 4};
  NullSink sink;
  DrawSlotsInOrder(w.scene, *w.store, sink);
  EXPECT_EQ(w.scene.SlotAlpha[0], 0.0);
  EXPECT_EQ(w.scene.SlotKind[0], 4) << "keeps its kind in the frame it reached 0";
  AdvanceSlots(w.scene);
  EXPECT_EQ(w.scene.SlotAge[0], 0);
  EXPECT_EQ(w.scene.SlotAge[1], 11);
}

TEST(LightDrift, ZeroDriftIsDrawnAgainFromTwoDraws) {
  World w = Started(21);
  RecordingSink sink;
  w.scene.LightDrift[0] = w.scene.LightDrift[1] = w.scene.LightDrift[2] = 0;
  RandomGenerator expected = w.scene.Random;
  float want[3];
  for (float& d : want) {
    const double a = expected(100) / 10000.0;
    const double b = expected(100) / 10000.0;
    d = static_cast<float>(a - b);
  }
  StepLightDrift(w.scene, kFullScreenFrame.light_box, sink);  // light at (3, 5, 1)... z = 1 bounces
  EXPECT_EQ(w.scene.LightDrift[0], want[0]);
  EXPECT_EQ(w.scene.LightDrift[1], want[1]);
  // z starts on the lower limit: its drift is replaced by a rising one.
  const double rise = expected(100) / 10000.0 + 0.01;
  EXPECT_EQ(w.scene.LightDrift[2], static_cast<float>(rise));
  EXPECT_EQ(w.scene.Light0Position[0], 3.0f + want[0]);
  ASSERT_EQ(sink.calls.size(), 1u);
  EXPECT_EQ(sink.calls[0].op, GlCall::kLightfv);
}

TEST(LightDrift, BouncesAtExactlyTheLimits) {
  World w = Started(22);
  RecordingSink sink;
  w.scene.Light0Position[0] = 5.0f;  // upper x limit
  w.scene.Light0Position[1] = 1.0f;  // lower y limit
  w.scene.Light0Position[2] = 3.0f;
  w.scene.LightDrift[0] = 0.005f;
  w.scene.LightDrift[1] = -0.005f;
  w.scene.LightDrift[2] = 0.004f;
  StepLightDrift(w.scene, kFullScreenFrame.light_box, sink);
  EXPECT_LE(w.scene.LightDrift[0], -0.01f);
  EXPECT_GE(w.scene.LightDrift[0], -0.0199f - 1e-6f);
  EXPECT_GE(w.scene.LightDrift[1], 0.01f);
  EXPECT_LE(w.scene.LightDrift[1], 0.0199f + 1e-6f);
  EXPECT_EQ(w.scene.LightDrift[2], 0.004f) << "inside the box: unchanged";
  EXPECT_LT(w.scene.Light0Position[0], 5.0f);
  // Just inside the limit: no bounce.
  World v = Started(23);
  v.scene.Light0Position[0] = 4.999f;
  v.scene.LightDrift[0] = 0.005f;
  v.scene.Light0Position[1] = 3;
  v.scene.Light0Position[2] = 3;
  v.scene.LightDrift[1] = v.scene.LightDrift[2] = 0.001f;
  StepLightDrift(v.scene, kFullScreenFrame.light_box, sink);
  EXPECT_EQ(v.scene.LightDrift[0], 0.005f);
  // The settings window's box is lower: y turns down at 3.
  World s = Started(24);
  s.scene.Light0Position[1] = 3.0f;
  s.scene.LightDrift[0] = s.scene.LightDrift[1] = s.scene.LightDrift[2] = 0.001f;
  s.scene.Light0Position[0] = 2;
  s.scene.Light0Position[2] = 3;
  StepLightDrift(s.scene, kSettingsFrame.light_box, sink);
  EXPECT_LT(s.scene.LightDrift[1], 0.0f);
}

TEST(Banner, CourseAndCaptionAlpha) {
  World w = Started(30, 5);
  w.scene.BannerAlpha = 0;
  w.scene.BannerAlphaStep = 0.001;
  std::vector<double> drawn;  // caption alpha of each frame
  std::vector<double> after;  // alpha at the end of each frame
  for (int frame = 1; frame <= 420; ++frame) {
    RecordingSink sink;
    DrawFrame(w.scene, *w.store, sink, kFullScreenFrame);
    for (std::size_t i = 0; i + 1 < sink.calls.size(); ++i) {
      if (sink.calls[i].op == GlCall::kColor4f && sink.calls[i + 1].op == GlCall::kRasterPos2f) {
        drawn.push_back(sink.calls[i].f[3]);
        break;
      }
    }
    after.push_back(w.scene.BannerAlpha);
  }
  ASSERT_EQ(drawn.size(), 420u);
  EXPECT_EQ(drawn[0], 0.0);
  EXPECT_EQ(drawn[1], static_cast<float>(0.001));
  // Worked out by hand from the steps: 250 frames of 0.001, then 0.01 a frame
  // until above 1 (frame 325), then down until between 0.25 and 0.3 (frame 396).
  EXPECT_NEAR(after[249], 0.25, 1e-9);
  EXPECT_NEAR(after[250], 0.26, 1e-9);
  EXPECT_LE(after[323], 1.0);
  EXPECT_GT(after[324], 1.0);
  EXPECT_LT(after[325], after[324]);
  EXPECT_NEAR(after[395], 0.29, 1e-9);
  EXPECT_GT(after[396], after[395]);
}

}  // namespace
}  // namespace qv
