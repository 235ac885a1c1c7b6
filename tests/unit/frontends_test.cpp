#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fake_host.h"
#include "fullscreen/fullscreen.h"
#include "preview/preview.h"
#include "settings/settings_window.h"
#include "test_support.h"

namespace qv {
namespace {

using testing_support::CountOp;
using testing_support::FakeHost;
using testing_support::FlowerRotations;
using testing_support::World;

TEST(FullScreen, FirstRunCreatesTheSaverState) {
  World w;
  FakeHost host;
  TForm1 form(w.scene, *w.store, host);
  form.FormCreate();
  const auto stored = host.Stored();
  EXPECT_EQ(stored.at("Fast"), 5);
  EXPECT_EQ(stored.at("Size"), 7);
  EXPECT_EQ(stored.at("Frame"), 5);
  EXPECT_EQ(stored.at("Clock"), 5);
  ASSERT_EQ(host.bounds.size(), 1u);
  EXPECT_EQ(host.bounds[0].width, 1024);
  EXPECT_EQ(host.bounds[0].height, 768);
  EXPECT_EQ(host.graphics_created, 1);
  EXPECT_EQ(host.running_flags, std::vector<int>{1});
  EXPECT_EQ(host.cursor_count, -1);
  EXPECT_EQ(w.scene.TurnAngle, 360.0);
  EXPECT_EQ(w.scene.BannerAlphaStep, 0.001);
  EXPECT_NE(w.store->Species1.PointY[0][0][0], 0.0) << "geometry generated";
  form.TimerTimer();
  EXPECT_EQ(host.swaps, 1);
}

TEST(FullScreen, MouseToleranceIsFivePixelsPerAxis) {
  struct Move {
    int dx, dy;
    bool ends;
  };
  for (const Move m : {Move{5, 0, false}, Move{0, -5, false}, Move{5, 5, false}, Move{-5, 5, false},
                       Move{6, 0, true}, Move{0, -6, true}, Move{6, 6, true}}) {
    World w;
    FakeHost host;
    TForm1 form(w.scene, *w.store, host);
    form.FormCreate();
    host.cursor = {100 + m.dx, 100 + m.dy};
    form.FormMouseMove();
    EXPECT_EQ(host.close_requests, m.ends ? 1 : 0) << m.dx << "," << m.dy;
    EXPECT_EQ(host.cursor_count, m.ends ? 0 : -1);
  }
}

TEST(FullScreen, InactiveWindowMovesTheReferenceAndIgnoresKeys) {
  World w;
  FakeHost host;
  TForm1 form(w.scene, *w.store, host);
  form.FormCreate();
  host.active = false;
  host.cursor = {300, 300};
  form.FormMouseMove();
  form.FormKeyDown('A');
  EXPECT_EQ(host.close_requests, 0);
  host.active = true;
  host.cursor = {304, 296};
  form.FormMouseMove();
  EXPECT_EQ(host.close_requests, 0);
  form.FormKeyDown('A');
  EXPECT_EQ(host.close_requests, 1);
}

TEST(FullScreen, RefusedPasswordKeepsDrawingAndAsksAgain) {
  World w;
  FakeHost host;
  host.password_ok = false;
  TForm1 form(w.scene, *w.store, host);
  form.FormCreate();
  form.FormKeyDown('A');
  EXPECT_EQ(host.password_checks, 1);
  EXPECT_EQ(host.close_requests, 0);
  EXPECT_EQ(host.cursor_count, -1) << "cursor stays hidden";
  form.TimerTimer();
  EXPECT_EQ(host.swaps, 1);
  host.password_ok = true;
  form.FormKeyDown('A');
  EXPECT_EQ(host.password_checks, 2);
  EXPECT_EQ(host.close_requests, 1);
}

TEST(FullScreen, ActivationsReplaceTheContextAndCloseReleasesTheLast) {
  World w;
  FakeHost host;
  TForm1 form(w.scene, *w.store, host);
  form.FormCreate();
  form.FormActivate();
  form.FormActivate();
  EXPECT_EQ(host.graphics_created, 3);
  EXPECT_EQ(host.graphics_released, 2);
  EXPECT_EQ(host.glyphs.builds, 3);
  EXPECT_EQ(CountOp(host.sink.calls, GlCall::kDeleteLists), 2);
  form.FormClose();
  EXPECT_EQ(host.graphics_released, 3);
  EXPECT_FALSE(host.graphics_live);
  EXPECT_EQ(CountOp(host.sink.calls, GlCall::kDeleteLists), 3);
  EXPECT_EQ(host.running_flags, (std::vector<int>{1, 0}));
  EXPECT_EQ(host.terminations, 1);
  form.FormClose();  // a second close from the system changes nothing
  EXPECT_EQ(host.terminations, 1);
}

TEST(FullScreen, MissingValueShowsTheErrorAndAbandonsCreation) {
  World w;
  FakeHost host;
  host.keys[kSettingsKeyPath].values = {{"Fast", {5}}, {"Bright", {10}}, {"Satiation", {5}},
                                        {"Size", {7}},  {"Snow", {0}},    {"Frame", {5}}};
  TForm1 form(w.scene, *w.store, host);
  form.FormCreate();
  EXPECT_EQ(host.error_boxes, std::vector<std::string>{"Failed to get data for 'Clock'"});
  EXPECT_TRUE(host.bounds.empty());
  EXPECT_EQ(host.graphics_created, 0);
  EXPECT_TRUE(host.running_flags.empty());
  form.FormActivate();
  EXPECT_EQ(host.graphics_created, 1) << "activation still sets up graphics";
  form.TimerTimer();
  EXPECT_EQ(host.swaps, 1);
}

TEST(FullScreen, NoPixelFormatClosesTheWindow) {
  World w;
  FakeHost host;
  host.pixel_format_ok = false;
  TForm1 form(w.scene, *w.store, host);
  form.FormCreate();
  EXPECT_EQ(host.close_requests, 1);
  form.TimerTimer();
  EXPECT_EQ(host.swaps, 0);
}

struct SettingsFixture {
  World w;
  FakeHost host;
  TForm2 form{w.scene, *w.store, host};
};

TEST(SettingsWindow, FirstRunPositionsAndCentring) {
  SettingsFixture f;
  f.form.FormCreate();
  const auto stored = f.host.Stored();
  EXPECT_EQ(stored.at("Fast"), 3);
  EXPECT_EQ(stored.at("Size"), 12);
  EXPECT_EQ(stored.at("Clock"), 7);
  const int expected[6] = {3, 10, 5, 12, 0, 7};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(f.form.SliderPosition(i), expected[i]);
  ASSERT_FALSE(f.host.bounds.empty());
  EXPECT_EQ(f.host.bounds.back().left, 312);
  EXPECT_EQ(f.host.bounds.back().top, 164);
  EXPECT_EQ(f.host.bounds.back().width, 400);
  EXPECT_EQ(f.host.bounds.back().height, 440);
  EXPECT_EQ(f.host.cursor_count, 0) << "the settings window leaves the cursor alone";
  EXPECT_TRUE(f.host.running_flags.empty());
  // Viewport above the sliders, aspect fixed whatever the window's size.
  f.host.client_w = 600;
  f.host.client_h = 540;
  f.form.FormResize();
  const GlCall* viewport = nullptr;
  const GlCall* perspective = nullptr;
  for (const GlCall& c : f.host.sink.calls) {
    if (c.op == GlCall::kViewport) viewport = &c;
    if (c.op == GlCall::kPerspective) perspective = &c;
  }
  ASSERT_NE(viewport, nullptr);
  EXPECT_EQ(viewport->f[1], 110);
  EXPECT_EQ(viewport->f[2], 600);
  EXPECT_EQ(viewport->f[3], 400);
  EXPECT_EQ(perspective->f[1], 1.33333);
}

TEST(SettingsWindow, MeshDetailRegeneratesOnlyOnARealChange) {
  SettingsFixture f;
  f.form.FormCreate();
  f.form.FormActivate();
  EXPECT_EQ(f.w.scene.MeshDetail, 2);
  f.form.SetSliderPosition(2, 6);
  EXPECT_EQ(f.w.scene.MeshDetail, 2) << "pending until the next frame";
  f.form.TimerTimer();
  EXPECT_EQ(f.w.scene.MeshDetail, 3);
  // Species 1 petal rows now reach 18: row 18 of part 0 holds a cap vertex.
  EXPECT_NE(f.w.store->Species1.PointY[0][18][0], 0.0);
  f.form.SetSliderPosition(2, 8);
  f.form.TimerTimer();
  EXPECT_EQ(f.w.scene.MeshDetail, 4);
  f.form.SetSliderPosition(2, 9);
  EXPECT_EQ(f.w.scene.RequestedMeshDetail, 4);
  f.form.SetSliderPosition(2, 99);
  EXPECT_EQ(f.form.SliderPosition(2), 10);
  EXPECT_EQ(f.w.scene.RequestedMeshDetail, 5);
  EXPECT_EQ(f.w.scene.Satiation, 5) << "only Save copies positions into Satiation";
}

TEST(SettingsWindow, BrightnessFactorsAfterAnyMovement) {
  SettingsFixture f;
  f.form.FormCreate();
  f.form.FormActivate();
  f.form.SetSliderPosition(1, 4);
  f.form.TimerTimer();
  EXPECT_EQ(f.w.scene.Light0Diffuse[0], static_cast<float>(0.4 * 4 / 10));
  f.form.SetSliderPosition(1, 10);  // back to the start position
  f.host.sink.calls.clear();
  f.form.TimerTimer();
  EXPECT_EQ(f.w.scene.Bright, 10);
  EXPECT_EQ(f.w.scene.Light0Diffuse[0], 0.4f);
  EXPECT_EQ(f.w.scene.Light0Specular[0], 0.5f);
  EXPECT_EQ(f.w.scene.Light1Diffuse[0], 0.3f);
  EXPECT_EQ(f.w.scene.Light1Specular[0], 0.5f);
  EXPECT_EQ(CountOp(f.host.sink.calls, GlCall::kPolygonMode), 1);
  f.form.FormActivate();
  EXPECT_EQ(f.w.scene.Light1Diffuse[0], 0.5f) << "the next activation restores 0.5";
}

TEST(SettingsWindow, SpeedSizePrimitiveAndColour) {
  SettingsFixture f;
  f.form.FormCreate();
  const int modes[11] = {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3};
  for (int p = 10; p >= 0; --p) {
    f.form.SetSliderPosition(4, p);
    EXPECT_EQ(f.w.scene.PrimitiveMode, modes[p]) << p;
  }
  f.form.SetSliderPosition(0, 0);
  EXPECT_EQ(f.w.scene.Fast, 0);
  f.form.SetSliderPosition(3, 14);
  EXPECT_EQ(f.w.scene.Size, 14);
  f.form.SetSliderPosition(5, 1);
  EXPECT_EQ(f.w.scene.RequestedFrame, 1);
  f.form.FormActivate();
  f.form.TimerTimer();
  EXPECT_EQ(f.w.scene.Frame, 1);
  const auto& g = f.w.store->Species1;
  EXPECT_EQ(g.ColorR[0][3][1], g.ColorG[0][3][1]) << "grey at colour 1";
}

TEST(SettingsWindow, HandEditedValuesClampOnlyThroughTheirSliders) {
  SettingsFixture f;
  f.host.keys[kSettingsKeyPath].values = {{"Fast", {25}}, {"Bright", {10}}, {"Satiation", {5}},
                                          {"Size", {-3}}, {"Snow", {0}},    {"Frame", {7}},
                                          {"Clock", {7}}};
  f.form.FormCreate();
  EXPECT_EQ(f.form.SliderPosition(0), 10);
  EXPECT_EQ(f.w.scene.Fast, 10) << "clamped position differs from design 7: written back";
  EXPECT_EQ(f.form.SliderPosition(3), 0);
  EXPECT_EQ(f.w.scene.Size, -3) << "clamped position equals design 0: no change handler";
}

TEST(SettingsWindow, SaveWritesPositionsAndClockUnchanged) {
  SettingsFixture f;
  f.host.keys[kSettingsKeyPath].values = {{"Fast", {2}}, {"Bright", {9}}, {"Satiation", {4}},
                                          {"Size", {5}}, {"Snow", {3}},   {"Frame", {6}},
                                          {"Clock", {1234}}};
  f.form.FormCreate();
  f.form.SetSliderPosition(0, 8);
  f.form.BitBtn1Click();
  const auto stored = f.host.Stored();
  EXPECT_EQ(stored.at("Fast"), 8);
  EXPECT_EQ(stored.at("Bright"), 9);
  EXPECT_EQ(stored.at("Satiation"), 4);
  EXPECT_EQ(stored.at("Size"), 5);
  EXPECT_EQ(stored.at("Snow"), 3);
  EXPECT_EQ(stored.at("Frame"), 6);
  EXPECT_EQ(stored.at("Clock"), 1234);
  f.form.BitBtn2Click();
  EXPECT_EQ(f.host.pages, std::vector<std::string>{kSiteAddress});
}

TEST(SettingsWindow, EscapeEndsWithoutSaving) {
  SettingsFixture f;
  f.form.FormCreate();
  f.form.FormActivate();
  f.form.SetSliderPosition(0, 9);
  f.form.FormKeyDown('A');
  EXPECT_EQ(f.host.terminations, 0);
  f.form.FormKeyDown(kEscapeKey);
  EXPECT_EQ(f.host.terminations, 1);
  EXPECT_FALSE(f.host.graphics_live);
  EXPECT_EQ(f.host.Stored().at("Fast"), 3);
  f.form.TimerTimer();
  EXPECT_EQ(f.host.swaps, 0);
}

TEST(SettingsWindow, FailedLoadKeepsDesignPositionsAndGeneratesLater) {
  SettingsFixture f;
  f.host.keys[kSettingsKeyPath].values = {{"Fast", {4}}};
  f.form.FormCreate();
  EXPECT_EQ(f.host.error_boxes, std::vector<std::string>{"Failed to get data for 'Bright'"});
  for (int i = 0; i < 6; ++i) EXPECT_EQ(f.form.SliderPosition(i), kSliders[i].design);
  EXPECT_EQ(f.w.store->Species1.PointY[0][0][0], 0.0);
  f.form.FormActivate();
  f.form.TimerTimer();  // nothing to draw yet, nothing crashes
  f.form.SetSliderPosition(2, 6);
  f.form.TimerTimer();
  EXPECT_NE(f.w.store->Species1.PointY[0][0][0], 0.0);
}

TEST(Preview, PaintsWaitForPreparationAndUseFixedSettings) {
  World w;
  FakeHost host;
  AssignSettings(w.scene, {1, 1, 1, 1, 1, 1, 1});
  PreviewScene preview(w.scene, *w.store, host);
  preview.FormPaint();
  EXPECT_EQ(host.graphics_created, 0) << "an early paint reads nothing";
  preview.Prepare(200, 150);
  EXPECT_EQ(SettingsOf(w.scene), kPreviewValues);
  EXPECT_EQ(w.scene.MeshDetail, 2);
  EXPECT_EQ(w.scene.PrimitiveMode, 2);
  preview.FormPaint();
  EXPECT_EQ(host.graphics_created, 1);
  EXPECT_EQ(host.graphics_released, 1);
  EXPECT_EQ(host.swaps, 1);
  EXPECT_EQ(w.scene.TurnAngle, 359.0);
  // Turned before drawing: the flowers are drawn at 359 + slot angle.
  EXPECT_EQ(FlowerRotations(host.sink.calls), (std::vector<double>{479, 599, 359}));
  EXPECT_EQ(w.scene.Light0Position[0], 3.0f);
  EXPECT_EQ(w.scene.Light0Diffuse[0], 0.3f);
  EXPECT_EQ(w.scene.MaterialShininess, 15.0f);
  for (int i = 0; i < 30; ++i) preview.FormPaint();
  EXPECT_EQ(w.scene.Light0Position[1], 5.0f) << "no drift in the preview";
}

TEST(Preview, KeyStopsOnlyWhenThePasswordAllows) {
  World w;
  FakeHost host;
  PreviewScene preview(w.scene, *w.store, host);
  host.password_ok = false;
  preview.FormKeyDown('a');
  EXPECT_FALSE(preview.PreviewStop.load());
  host.password_ok = true;
  preview.FormKeyDown('a');
  EXPECT_TRUE(preview.PreviewStop.load());
  host.pixel_format_ok = false;
  preview.Prepare(100, 0);  // a zero height must not divide by zero
  preview.FormPaint();
  EXPECT_EQ(host.terminations, 1);
}

// Polls a condition the preview's own thread makes true; a generous limit,
// since a loaded machine may be slow to schedule it.
template <class F>
bool Eventually(F condition) {
  for (int i = 0; i < 1000 && !condition(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return condition();
}

TEST(Preview, RenderThreadPacesPaintsAndClosesTheWindowOnceStopped) {
  World w;
  FakeHost host;
  host.client_w = 152;
  host.client_h = 112;
  PreviewScene preview(w.scene, *w.store, host);
  preview.FormCreate();
  ASSERT_TRUE(Eventually([&] { return host.invalidations >= 3; }));
  EXPECT_TRUE(preview.ready());
  EXPECT_EQ(preview.PreviewWidth, 152) << "the window's size, taken at creation";
  EXPECT_EQ(preview.PreviewHeight, 112);
  EXPECT_EQ(host.close_requests, 0) << "runs until stopped";
  preview.FormKeyDown(' ');  // the pop-up's key, password allowing
  ASSERT_TRUE(Eventually([&] { return host.close_requests == 1; }));
  const int invalidations = host.invalidations;
  preview.FormClose();
  EXPECT_EQ(host.invalidations, invalidations) << "the thread has ended";
  EXPECT_EQ(host.close_requests, 1);
}

TEST(Preview, EndingWithoutCloseStepsStillStopsTheThread) {
  World w;
  FakeHost host;
  {
    PreviewScene preview(w.scene, *w.store, host);
    preview.FormCreate();
    ASSERT_TRUE(Eventually([&] { return host.invalidations >= 1; }));
    // A loop terminated without close steps (a paint that found no pixel
    // format) drops the front-end while its thread runs.
  }
  const int invalidations = host.invalidations;
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(host.invalidations, invalidations);
}

}  // namespace
}  // namespace qv
