#include "store/settings.h"

#include <gtest/gtest.h>

#include "store/memory_store.h"

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
    keys[kSettingsKeyPath].values[kSettingNames[i]] = {values[i], true, 4};
  }
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

TEST(LoadSettings, FirstRunWritesTheCallersDefaults) {
  for (const SettingValues& defaults : {kFullScreenDefaults, kSettingsWindowDefaults}) {
    Keys keys;
    MemorySettingsStore store(keys);
    SceneState scene;
    LoadSettings(scene, store, defaults);
    EXPECT_EQ(SettingsOf(scene), defaults);
    const auto stored = Stored(keys);
    ASSERT_EQ(stored.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(stored.at(kSettingNames[i]), defaults[i]);
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
  EXPECT_EQ(scene.MeshDetail, 4);        // 7 / 2 = 3.5 -> 4
  EXPECT_EQ(scene.PrimitiveMode, 2);     // 7 / 3 = 2.33 -> 2
  EXPECT_EQ(scene.RequestedMeshDetail, 4);
  EXPECT_EQ(scene.RequestedBright, 10);
  EXPECT_EQ(scene.RequestedFrame, 5);
}

TEST(LoadSettings, DerivedValuesOverTheSliderRanges) {
  const int mesh[] = {1, 2, 2, 2, 3, 4, 4, 4, 5};          // Satiation 2..10
  const int prim[] = {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3};    // Snow 0..10
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
  EXPECT_TRUE(keys.empty());
}

TEST(SaveSettings, WritesAllSevenInOrderAndReportsAFailedWrite) {
  Keys keys;
  MemorySettingsStore store(keys);
  SceneState scene;
  AssignSettings(scene, {1, 2, 3, 4, 5, 6, 7});
  SaveSettings(scene, store);
  const auto stored = Stored(keys);
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(stored.at(kSettingNames[i]), int(i) + 1);

  store.deny_writes = true;
  try {
    SaveSettings(scene, store);
    FAIL();
  } catch (const SettingsError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Fast'");
  }
  EXPECT_EQ(store.closes_pending(), 0);

  MemorySettingsStore refused(keys);
  refused.deny_create = true;
  scene.Fast = 9;
  SaveSettings(scene, refused);  // silently nothing
  EXPECT_EQ(Stored(keys).at("Fast"), 1);
}

}  // namespace
}  // namespace qv
