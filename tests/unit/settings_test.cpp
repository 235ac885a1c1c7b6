#include "store/settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "fake_host.h"
#include "render/kind_renderers.h"
#include "testing/recording_sink.h"
#include "scene/frame_director.h"
#include "settings/settings_window.h"
#include "test_support.h"
#include "testing/memory_store.h"

namespace qv {
namespace {

using Keys = std::map<std::string, MemorySettingsStore::Key>;

std::map<std::string, std::int64_t> Stored(Keys& keys) {
  std::map<std::string, std::int64_t> out;
  for (const auto& [name, value] : keys[kSettingsKeyPath].values) out[name] = value.number;
  return out;
}

void Put(Keys& keys, const SettingValues& values) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    keys[kSettingsKeyPath].values[kSettings[i].name] = {values[i], true, 4};
  }
}

TEST(SettingsTable, SevenSettingsInStoredOrderWithTheirSlidersAndValues) {
  // Written out from the description of the saver, not from the table.
  const char* names[] = {"Fast", "Bright", "Satiation", "Size", "Snow", "Frame", "Clock"};
  const char* captions[] = {"Speed", "Brightness", "Satiation", "Size", "Primitive", "Color"};
  const char* options[] = {"speed", "brightness", "satiation", "size", "primitive", "color"};
  const int ranges[6][3] = {{0, 10, 7}, {0, 10, 7}, {2, 10, 2}, {0, 14, 0}, {0, 10, 0}, {1, 9, 2}};
  const SettingValues full_screen = {5, 10, 5, 7, 0, 5, 5};
  const SettingValues settings_window = {3, 10, 5, 12, 0, 7, 7};
  const SettingValues preview = {5, 10, 5, 12, 7, 7, 7};
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    EXPECT_STREQ(kSettings[i].name, names[i]);
    EXPECT_NE(kSettings[i].meaning, nullptr);
    if (i < 6) {
      EXPECT_STREQ(kSettings[i].caption, captions[i]);
      EXPECT_STREQ(kSettings[i].option, options[i]);
      EXPECT_EQ(kSettings[i].min, ranges[i][0]) << names[i];
      EXPECT_EQ(kSettings[i].max, ranges[i][1]) << names[i];
      EXPECT_EQ(kSettings[i].design, ranges[i][2]) << names[i];
      EXPECT_STREQ(kSliders[i].label, captions[i]);
    } else {
      EXPECT_FALSE(kSettings[i].has_slider());
    }
  }
  EXPECT_EQ(kFullScreenDefaults, full_screen);
  EXPECT_EQ(kSettingsWindowDefaults, settings_window);
  EXPECT_EQ(kPreviewValues, preview);
  // Each setting lands in its own scene member.
  SceneState scene;
  AssignSettings(scene, {1, 2, 3, 4, 5, 6, 7});
  EXPECT_EQ(scene.Fast, 1);
  EXPECT_EQ(scene.Bright, 2);
  EXPECT_EQ(scene.Satiation, 3);
  EXPECT_EQ(scene.Size, 4);
  EXPECT_EQ(scene.Snow, 5);
  EXPECT_EQ(scene.Frame, 6);
  EXPECT_EQ(scene.Clock, 7);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(4.5), 4);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(37.647), 38);
}

TEST(LoadSettings, FirstRunWritesTheCallersDefaultsInOneCommit) {
  const SettingValues full_screen = {5, 10, 5, 7, 0, 5, 5};
  const SettingValues settings_window = {3, 10, 5, 12, 0, 7, 7};
  for (const SettingValues& defaults : {full_screen, settings_window}) {
    Keys keys;
    MemorySettingsStore store(keys);
    SceneState scene;
    LoadSettings(scene, store, defaults);
    EXPECT_EQ(SettingsOf(scene), defaults);
    const auto stored = Stored(keys);
    ASSERT_EQ(stored.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(stored.at(kSettings[i].name), defaults[i]);
    EXPECT_EQ(store.commits, 1);
    EXPECT_EQ(store.closes_pending(), 0);
  }
}

TEST(LoadSettings, SixZerosAreAFirstRunWhateverClockHolds) {
  Keys keys;
  Put(keys, {0, 0, 0, 0, 0, 0, 99});
  MemorySettingsStore store(keys);
  SceneState scene;
  LoadSettings(scene, store, kFullScreenDefaults);
  EXPECT_EQ(scene.Clock, 5);
  EXPECT_EQ(Stored(keys).at("Clock"), 5);
}

TEST(LoadSettings, SomeZerosAreUsedAsStored) {
  Keys keys;
  Put(keys, {0, 10, 7, 7, 7, 5, 1});
  MemorySettingsStore store(keys);
  SceneState scene;
  LoadSettings(scene, store, kFullScreenDefaults);
  EXPECT_EQ(scene.Fast, 0);
  EXPECT_EQ(scene.MeshDetail, 4);     // 7 / 2 = 3.5 -> 4
  EXPECT_EQ(scene.PrimitiveMode, 2);  // 7 / 3 = 2.33 -> 2
  EXPECT_EQ(scene.RequestedMeshDetail, 4);
  EXPECT_EQ(scene.RequestedBright, 10);
  EXPECT_EQ(scene.RequestedFrame, 5);
  EXPECT_EQ(store.commits, 0) << "nothing written when something was stored";
}

TEST(LoadSettings, DerivedValuesOverTheSliderRanges) {
  const int mesh[] = {1, 2, 2, 2, 3, 4, 4, 4, 5};        // Satiation 2..10
  const int prim[] = {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3};  // Snow 0..10
  for (int s = 2; s <= 10; ++s) {
    SceneState scene;
    scene.Satiation = s;
    DeriveSettings(scene);
    EXPECT_EQ(scene.MeshDetail, mesh[s - 2]) << s;
  }
  for (int s = 0; s <= 10; ++s) {
    SceneState scene;
    scene.Snow = s;
    DeriveSettings(scene);
    EXPECT_EQ(scene.PrimitiveMode, prim[s]) << s;
  }
  SceneState hand_edited;
  hand_edited.Satiation = 0;
  DeriveSettings(hand_edited);
  EXPECT_EQ(hand_edited.MeshDetail, 0) << "taken as it stands; generators clamp their copy";
}

TEST(LoadSettings, MissingValueStopsReadingAndSkipsTheRest) {
  Keys keys;
  Put(keys, {4, 9, 8, 6, 3, 2, 1});
  keys[kSettingsKeyPath].values.erase("Clock");
  MemorySettingsStore store(keys);
  SceneState scene;
  scene.Clock = 42;
  try {
    LoadSettings(scene, store, kSettingsWindowDefaults);
    FAIL() << "no error";
  } catch (const SettingsError& e) {
    EXPECT_STREQ(e.what(), "Failed to get data for 'Clock'");
  }
  EXPECT_EQ(scene.Fast, 4);
  EXPECT_EQ(scene.Frame, 2);
  EXPECT_EQ(scene.Clock, 42);
  EXPECT_EQ(scene.MeshDetail, 0) << "not derived";
  EXPECT_EQ(store.closes_pending(), 0) << "key closed on the error path";
  EXPECT_EQ(Stored(keys).size(), 6u) << "nothing written";
}

TEST(LoadSettings, WrongTypeAndOversizedValues) {
  Keys keys;
  Put(keys, {4, 9, 8, 6, 3, 2, 1});
  keys[kSettingsKeyPath].values["Size"].is_integer = false;
  MemorySettingsStore store(keys);
  SceneState scene;
  try {
    LoadSettings(scene, store, kFullScreenDefaults);
    FAIL();
  } catch (const SettingsError& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'Size'");
  }
  EXPECT_EQ(scene.Satiation, 8);
  EXPECT_EQ(scene.Size, 0);
  keys[kSettingsKeyPath].values["Size"] = {6, true, 8};
  try {
    SceneState again;
    LoadSettings(again, store, kFullScreenDefaults);
    FAIL();
  } catch (const SettingsError& e) {
    EXPECT_STREQ(e.what(), "Failed to get data for 'Size'");
  }
}

TEST(LoadSettings, UncreatableKeyUsesDefaultsForThisRunOnly) {
  Keys keys;
  MemorySettingsStore store(keys);
  store.deny_create = true;
  SceneState scene;
  LoadSettings(scene, store, kFullScreenDefaults);
  EXPECT_EQ(SettingsOf(scene), kFullScreenDefaults);
  EXPECT_EQ(scene.MeshDetail, 2) << "derived all the same";
  EXPECT_TRUE(keys.empty());
}

TEST(SaveSettings, OneCommitOfAllSevenAndEveryFailureSaid) {
  Keys keys;
  MemorySettingsStore store(keys);
  SceneState scene;
  AssignSettings(scene, {1, 2, 3, 4, 5, 6, 7});
  SaveSettings(scene, store);
  auto stored = Stored(keys);
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(stored.at(kSettings[i].name), int(i) + 1);
  EXPECT_EQ(store.commits, 1);

  // The first value that could not be stored is named; the ones before it
  // stay written, as the registry keeps them.
  scene.Fast = 11;
  scene.Size = 44;
  store.deny_write_of = "Size";
  try {
    SaveSettings(scene, store);
    FAIL();
  } catch (const SettingsError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Size'");
  }
  EXPECT_EQ(Stored(keys).at("Fast"), 11);
  EXPECT_EQ(Stored(keys).at("Size"), 4);
  EXPECT_EQ(store.closes_pending(), 0);

  // A key that cannot even be opened is a failed save too, not a silent one.
  MemorySettingsStore refused(keys);
  refused.deny_create = true;
  scene.Fast = 9;
  try {
    SaveSettings(scene, refused);
    FAIL();
  } catch (const SettingsError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Fast'");
  }
  EXPECT_EQ(Stored(keys).at("Fast"), 11);
}

// Settings window: the slider handlers see clamped positions, the scene must
// run on the stored values, which FormCreate derives again at the end.
TEST(SettingsWindowCreation, DerivesFromTheStoredValuesNotTheClampedSliders) {
  testing_support::World w;
  testing_support::FakeHost host;
  Put(host.keys, {4, 15, 14, 9, 20, 12, 3});
  TForm2 form{w.scene, *w.store, host};
  form.FormCreate();
  ASSERT_TRUE(host.error_boxes.empty());
  EXPECT_EQ(form.SliderPosition(1), 10);
  EXPECT_EQ(form.SliderPosition(2), 10);
  EXPECT_EQ(form.SliderPosition(4), 10);
  EXPECT_EQ(form.SliderPosition(5), 9);
  EXPECT_EQ(w.scene.RequestedBright, 15) << "the clamped slider said 10";
  EXPECT_EQ(w.scene.RequestedMeshDetail, 7) << "14 / 2; the clamped slider said 5";
  EXPECT_EQ(w.scene.MeshDetail, 7);
  EXPECT_EQ(w.scene.PrimitiveMode, 7) << "20 / 3 = 6.67; the clamped slider said 3";
  EXPECT_EQ(w.scene.RequestedFrame, 12) << "the clamped slider said 9";
  // So the first frame regenerates nothing and keeps the stored brightness.
  form.FormActivate();
  form.TimerTimer();
  EXPECT_EQ(w.scene.MeshDetail, 7);
  EXPECT_EQ(w.scene.Frame, 12);
  EXPECT_EQ(w.scene.Bright, 15);
}

TEST(SettingsWindowSave, CopiesEverySliderAndNamesTheFailedValue) {
  testing_support::World w;
  testing_support::FakeHost host;
  Put(host.keys, {2, 9, 4, 5, 3, 6, 1234});
  TForm2 form{w.scene, *w.store, host};
  form.FormCreate();
  const int moved[6] = {8, 1, 10, 14, 9, 1};
  for (int i = 0; i < 6; ++i) form.SetSliderPosition(i, moved[i]);
  form.BitBtn1Click();
  EXPECT_TRUE(host.error_boxes.empty());
  const auto stored = host.Stored();
  const SettingValues expected = {8, 1, 10, 14, 9, 1, 1234};
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(stored.at(kSettings[i].name), expected[i]);

  // A store that refuses the save: the box says so, and the scene keeps the
  // positions it was given.
  host.keys[kSettingsKeyPath].read_only = true;
  form.SetSliderPosition(0, 3);
  form.BitBtn1Click();
  EXPECT_EQ(host.error_boxes, std::vector<std::string>{"Failed to set data for 'Fast'"});
  EXPECT_EQ(host.Stored().at("Fast"), 8);
  EXPECT_EQ(w.scene.Fast, 3);
}

// No stored 32-bit value may take any arithmetic out of range.
TEST(Extremes, ModelDerivesEveryIntWithoutOverflow) {
  // INT_MIN / 2 is exact; INT_MAX / 2 = 1073741823.5 goes to the even 1073741824;
  // INT_MIN / 3 = -715827882.67 -> -715827883; INT_MAX / 3 = 715827882.33 -> 715827882.
  for (const int v : {INT_MIN, INT_MAX}) {
    Keys keys;
    Put(keys, {v, v, v, v, v, v, v});
    MemorySettingsStore store(keys);
    SceneState scene;
    LoadSettings(scene, store, kFullScreenDefaults);
    EXPECT_EQ(SettingsOf(scene), (SettingValues{v, v, v, v, v, v, v}));
    EXPECT_EQ(scene.RequestedBright, v);
    EXPECT_EQ(scene.MeshDetail, v < 0 ? -1073741824 : 1073741824);
    EXPECT_EQ(scene.RequestedMeshDetail, scene.MeshDetail);
    EXPECT_EQ(scene.PrimitiveMode, v < 0 ? -715827883 : 715827882);
    EXPECT_EQ(scene.RequestedFrame, v);
    SaveSettings(scene, store);
    EXPECT_EQ(Stored(keys).at("Size"), v);
  }
}

TEST(Extremes, RenderersPlaceAnySizeWithoutWrapping) {
  // Size - 20 as a float: INT_MIN - 20 lies within 256 (the float spacing
  // there) of -2^31; INT_MAX - 20 = 2147483627 is nearer 2^31 than 2^31 - 128.
  struct Case {
    int size;
    float depth;
  } cases[] = {{INT_MIN, -2147483648.0f}, {INT_MAX, 2147483648.0f}, {12, -8.0f}, {-3, -23.0f}};
  for (const Case& c : cases) {
    for (int mode = 0; mode <= 3; ++mode) {
      testing_support::World w;
      w.scene.Size = c.size;
      w.scene.PrimitiveMode = mode;
      w.scene.MeshDetail = 1;
      w.scene.CurrentAlpha = 1;
      RegenerateAllSpecies(*w.store, 1, 7);
      for (int kind = 0; kind < 12; ++kind) {
        RecordingSink sink;
        DrawKindWith(sink, kind, w.scene, *w.store);
        ASSERT_GE(sink.calls.size(), 2u);
        ASSERT_EQ(sink.calls[1].op, GlCall::kTranslatef);
        EXPECT_EQ(sink.calls[1].f[2], static_cast<double>(c.depth)) << c.size << " kind " << kind;
      }
    }
  }
}

TEST(Extremes, FramesAndSlidersTakeEveryIntOfEverySetting) {
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    for (const int v : {INT_MIN, INT_MAX}) {
      testing_support::World w;
      testing_support::FakeHost host;
      SettingValues values = kSettingsWindowDefaults;
      values[i] = v;
      Put(host.keys, values);
      TForm2 form{w.scene, *w.store, host};
      form.FormCreate();
      form.FormActivate();
      for (int f = 0; f < 3; ++f) form.TimerTimer();
      if (i < kSliderCount) {
        EXPECT_EQ(form.SliderPosition(static_cast<int>(i)),
                  v < 0 ? kSettings[i].min : kSettings[i].max);
      }
      EXPECT_EQ(host.swaps, 3) << kSettings[i].name << "=" << v;
    }
  }
}

}  // namespace
}  // namespace qv
