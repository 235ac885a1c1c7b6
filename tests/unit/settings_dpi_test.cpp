#include <gtest/gtest.h>

#include "fake_host.h"
#include "settings/settings_window.h"
#include "test_support.h"

namespace qv {
namespace {

using testing_support::FakeHost;
using testing_support::World;

struct Viewport {
  double x, y, w, h;
};

Viewport LastViewport(const FakeHost& host) {
  Viewport v{-1, -1, -1, -1};
  for (const GlCall& c : host.sink.calls) {
    if (c.op == GlCall::kViewport) v = {c.f[0], c.f[1], c.f[2], c.f[3]};
  }
  return v;
}

TEST(SettingsWindowDpi, At144TheWindowAndTheSceneGrowByHalf) {
  World w;
  FakeHost host;
  host.dpi = 144;
  TForm2 form(w.scene, *w.store, host);
  form.FormCreate();
  ASSERT_FALSE(host.bounds.empty());
  // 600 x 660, centred on 1024 x 768: (1024 - 600) / 2, (768 - 660) / 2.
  EXPECT_EQ(host.bounds.back().left, 212);
  EXPECT_EQ(host.bounds.back().top, 54);
  EXPECT_EQ(host.bounds.back().width, 600);
  EXPECT_EQ(host.bounds.back().height, 660);
  form.FormResize();
  Viewport v = LastViewport(host);
  EXPECT_EQ(v.x, 0);
  EXPECT_EQ(v.y, 165);  // 110 x 1.5
  EXPECT_EQ(v.w, 600);
  EXPECT_EQ(v.h, 450);  // 660 - 140 x 1.5

  // Moved to a 200 % monitor: the next resize lays the scene out anew.
  host.dpi = 192;
  host.client_w = 800;
  host.client_h = 880;
  form.FormResize();
  v = LastViewport(host);
  EXPECT_EQ(v.y, 220);
  EXPECT_EQ(v.w, 800);
  EXPECT_EQ(v.h, 600);
}

TEST(SettingsWindowDpi, NoUsableDpiKeepsTheDesign) {
  for (int dpi : {0, -96, 72}) {
    World w;
    FakeHost host;
    host.dpi = dpi;
    TForm2 form(w.scene, *w.store, host);
    form.FormCreate();
    ASSERT_FALSE(host.bounds.empty());
    EXPECT_EQ(host.bounds.back().width, 400) << dpi;
    EXPECT_EQ(host.bounds.back().height, 440) << dpi;
    form.FormResize();
    EXPECT_EQ(LastViewport(host).y, 110) << dpi;
    EXPECT_EQ(LastViewport(host).h, 300) << dpi;
  }
}

}  // namespace
}  // namespace qv
