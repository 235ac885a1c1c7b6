// The saver under the command line's options: settings served from the
// options with the stored ones left alone, and the frame rate drawn before
// each swap once a second has passed.
#include "app/saver_options.h"

#include <gtest/gtest.h>

#include "fake_host.h"
#include "fullscreen/fullscreen.h"
#include "geometry/geometry_store.h"

namespace qv {
namespace {

using testing_support::FakeHost;

TEST(SaverOptions, TheSaverTakesTheOptionsAndLeavesTheStoreAlone) {
  FakeHost fake;
  // A stored set that must be neither read nor rewritten.
  {
    auto stored = fake.OpenSettingsStore();
    ASSERT_TRUE(stored->OpenOrCreateKey(kSettingsKeyPath));
    for (std::size_t i = 0; i < kSettingCount; ++i) stored->WriteInteger(kSettings[i].name, 1);
    stored->Commit();
    stored->CloseKey();
  }
  const auto before = fake.Stored();
  FixedSettingsServices services(fake, {8, 3, 9, 14, 6, 2, 5});
  const Host host{fake, fake, services};
  SceneState scene;
  auto store = std::make_unique<GeometryStore>();
  TForm1 saver(scene, *store, host);
  saver.FormCreate();
  EXPECT_EQ(scene.Fast, 8);
  EXPECT_EQ(scene.Bright, 3);
  EXPECT_EQ(scene.MeshDetail, 4);
  EXPECT_EQ(scene.Size, 14);
  EXPECT_EQ(scene.PrimitiveMode, 2);
  EXPECT_EQ(scene.Frame, 2);
  EXPECT_EQ(fake.Stored(), before);
  EXPECT_TRUE(fake.error_boxes.empty());
}

TEST(SaverOptions, FpsIsDrawnBeforeEachSwapOnceASecondHasPassed) {
  FakeHost fake;
  SceneState scene;
  auto store = std::make_unique<GeometryStore>();
  double now = 10.0;
  FpsFrontEnd front(
      fake, scene, [&now] { return now; },
      [&](const Host& host) { return std::make_unique<TForm1>(scene, *store, host); });
  EXPECT_STREQ(front.Spec().caption, kFullScreenCaption);
  front.FormCreate();
  front.FormActivate();
  const auto texts = [&] {
    std::vector<std::string> out;
    for (const GlCall& c : fake.sink.calls) {
      if (c.op == GlCall::kCallLists && c.text.rfind("FPS", 0) == 0) out.push_back(c.text);
    }
    return out;
  };
  // 16 frames 1/16 s apart (exact in binary): the reading comes with the
  // 17th, at 11.0 s, and is drawn into that frame.
  for (int i = 0; i < 16; ++i) {
    front.TimerTimer();
    now += 0.0625;
  }
  EXPECT_EQ(fake.swaps, 16);
  EXPECT_TRUE(texts().empty());
  front.TimerTimer();
  EXPECT_EQ(fake.swaps, 17);
  EXPECT_EQ(texts(), (std::vector<std::string>{"FPS: 16.0"}));
  front.FormClose();
  EXPECT_EQ(fake.terminations.load(), 1);
}

}  // namespace
}  // namespace qv
