#include "store/file_store_posix.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include "file_text.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class FileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qv-store-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    dir_ = root_ / "quorvelian";
    file_ = dir_ / "settings.ini";
  }
  void TearDown() override { fs::remove_all(root_); }

  void Seed(const std::string& text) {
    fs::create_directories(dir_);
    WriteFile(file_, text);
  }
  std::string Contents() const { return ReadFile(file_); }

  fs::path root_, dir_, file_;
};

// The exact text of a first run, written out by hand from the defaults table.
constexpr const char* kFullScreenFirstRun =
    "[Quorvelian]\nFast=5\nBright=10\nSatiation=5\nSize=7\nSnow=0\nFrame=5\nClock=5\n";

TEST(DefaultSettingsFilePath, FollowsTheXdgRule) {
  const char* old_xdg = std::getenv("XDG_CONFIG_HOME");
  const char* old_home = std::getenv("HOME");
  const std::string saved_xdg = old_xdg ? old_xdg : "";
  const std::string saved_home = old_home ? old_home : "";

  setenv("HOME", "/home/ann", 1);
  setenv("XDG_CONFIG_HOME", "/cfg/", 1);
  EXPECT_EQ(DefaultSettingsFilePath(), "/cfg/quorvelian/settings.ini");
  // Relative or empty values are not valid base folders and are ignored.
  setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
  EXPECT_EQ(DefaultSettingsFilePath(), "/home/ann/.config/quorvelian/settings.ini");
  setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(DefaultSettingsFilePath(), "/home/ann/.config/quorvelian/settings.ini");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(DefaultSettingsFilePath(), "/home/ann/.config/quorvelian/settings.ini");

  old_xdg ? setenv("XDG_CONFIG_HOME", saved_xdg.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
  old_home ? setenv("HOME", saved_home.c_str(), 1) : unsetenv("HOME");
}

TEST_F(FileStoreTest, MissingFileIsAMissingKeyAndFirstRunCreatesIt) {
  FileSettingsStore store(file_.string());
  EXPECT_FALSE(store.OpenKey(kSettingsKeyPath));
  EXPECT_FALSE(fs::exists(dir_)) << "opening for reading must not create anything";

  SceneState scene;
  LoadSettings(scene, store, kFullScreenDefaults);
  EXPECT_EQ(Contents(), kFullScreenFirstRun);
  EXPECT_EQ(scene.Size, 7);

  // A second process reads what the first one stored.
  SceneState again;
  FileSettingsStore second(file_.string());
  LoadSettings(again, second, kSettingsWindowDefaults);
  EXPECT_EQ(again.Fast, 5);
  EXPECT_EQ(again.Size, 7);
  EXPECT_EQ(again.Clock, 5);
  // Writes go through a temporary file that must not be left behind.
  int entries = 0;
  for (const auto& e : fs::directory_iterator(dir_)) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST_F(FileStoreTest, OpenOrCreateKeyMakesNestedFolders) {
  const fs::path deep = root_ / "a" / "b" / "quorvelian" / "settings.ini";
  FileSettingsStore store(deep.string());
  ASSERT_TRUE(store.OpenOrCreateKey(kSettingsKeyPath));
  store.WriteInteger("Fast", 3);
  EXPECT_FALSE(fs::exists(deep)) << "nothing is stored before the commit";
  store.Commit();
  store.WriteInteger("Bright", 4);
  store.CloseKey();
  EXPECT_EQ(ReadFile(deep), "[Quorvelian]\nFast=3\n") << "closing drops what was not committed";
}

TEST_F(FileStoreTest, SavingKeepsEverythingItDoesNotOwn) {
  Seed(
      "# hand-written\r\n"
      "\n"
      "[Quorvelian]\n"
      "; speed of the turn\n"
      "Fast = 9\n"
      "Mystery=yes\n"
      "Bright=1\n"
      "\n"
      "[Elsewhere]\n"
      "Size=99\n");
  SceneState scene;
  AssignSettings(scene, {1, 2, 3, 4, 5, 6, 7});
  FileSettingsStore store(file_.string());
  SaveSettings(scene, store);
  EXPECT_EQ(Contents(),
            "# hand-written\r\n"
            "\n"
            "[Quorvelian]\n"
            "; speed of the turn\n"
            "Fast=1\n"
            "Mystery=yes\n"
            "Bright=2\n"
            "Satiation=3\n"
            "Size=4\n"
            "Snow=5\n"
            "Frame=6\n"
            "Clock=7\n"
            "\n"
            "[Elsewhere]\n"
            "Size=99\n");
}

TEST_F(FileStoreTest, SectionLineIsOptional) {
  Seed("Fast=4\nBright=8\n[Other]\nx=1\n");
  FileSettingsStore store(file_.string());
  ASSERT_TRUE(store.OpenKey(kSettingsKeyPath));
  EXPECT_EQ(store.ReadInteger("Bright"), 8);
  store.CloseKey();
  ASSERT_TRUE(store.OpenOrCreateKey(kSettingsKeyPath));
  store.WriteInteger("Fast", 6);
  store.WriteInteger("Satiation", 2);
  store.Commit();
  EXPECT_EQ(Contents(), "Fast=6\nBright=8\nSatiation=2\n[Other]\nx=1\n");

  // Only foreign sections and comments: our values go before them.
  Seed("; note\n[Other]\nFast=1\n");
  ASSERT_TRUE(store.OpenOrCreateKey(kSettingsKeyPath));
  store.WriteInteger("Fast", 2);
  store.Commit();
  EXPECT_EQ(Contents(), "; note\nFast=2\n[Other]\nFast=1\n");
}

TEST_F(FileStoreTest, NamesAndSectionIgnoreCaseButOtherSectionsDoNotCount) {
  Seed("[quorvelian]\nfast=3\n[Other]\nBright=4\n");
  FileSettingsStore store(file_.string());
  ASSERT_TRUE(store.OpenKey(kSettingsKeyPath));
  EXPECT_EQ(store.ReadInteger("Fast"), 3);
  try {
    store.ReadInteger("Bright");
    FAIL() << "a value of another section was taken";
  } catch (const SettingsError& e) {
    EXPECT_STREQ(e.what(), "Failed to get data for 'Bright'");
  }
}

TEST_F(FileStoreTest, MissingAndMistypedValuesCarryTheWindowTexts) {
  Seed("[Quorvelian]\nFast=5\nBright=\nSize=5.0\n");
  FileSettingsStore store(file_.string());
  ASSERT_TRUE(store.OpenKey(kSettingsKeyPath));
  EXPECT_EQ(store.ReadInteger("Fast"), 5);
  auto message = [&](const char* name) {
    try {
      store.ReadInteger(name);
    } catch (const SettingsError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message("Clock"), "Failed to get data for 'Clock'");
  EXPECT_EQ(message("Bright"), "Invalid data type for 'Bright'");
  EXPECT_EQ(message("Size"), "Invalid data type for 'Size'");

  // Through the model: the six values before Clock are read, nothing derived.
  Seed("Fast=1\nBright=2\nSatiation=6\nSize=4\nSnow=8\nFrame=3\n");
  SceneState scene;
  FileSettingsStore fresh(file_.string());
  EXPECT_THROW(LoadSettings(scene, fresh, kFullScreenDefaults), SettingsError);
  EXPECT_EQ(scene.Frame, 3);
  EXPECT_EQ(scene.MeshDetail, 0);
  EXPECT_EQ(Contents(), "Fast=1\nBright=2\nSatiation=6\nSize=4\nSnow=8\nFrame=3\n");
}

TEST_F(FileStoreTest, OnlyPlainDecimal32BitIntegersAreNumbers) {
  struct Case {
    const char* text;
    bool valid;
    std::int32_t value;
  };
  const Case cases[] = {
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {" +7 ", true, 7},
      {"007", true, 7},
      {"-0", true, 0},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999999", false, 0},
      {"0x10", false, 0},
      {"1e3", false, 0},
      {"12ab", false, 0},
      {"+", false, 0},
      {"- 5", false, 0},
      {"", false, 0},
  };
  FileSettingsStore store(file_.string());
  for (const Case& c : cases) {
    Seed(std::string("Fast=") + c.text + "\n");
    ASSERT_TRUE(store.OpenKey(kSettingsKeyPath));
    if (c.valid) {
      EXPECT_EQ(store.ReadInteger("Fast"), c.value) << c.text;
    } else {
      EXPECT_THROW(store.ReadInteger("Fast"), SettingsError) << c.text;
    }
    store.CloseKey();
  }
}

TEST_F(FileStoreTest, DuplicatesReadTheFirstAndASaveLeavesOne) {
  Seed("Fast=1\nBright=2\nFast=8\n[Quorvelian]\nFAST=9\n");
  FileSettingsStore store(file_.string());
  ASSERT_TRUE(store.OpenKey(kSettingsKeyPath));
  EXPECT_EQ(store.ReadInteger("Fast"), 1);
  store.CloseKey();
  ASSERT_TRUE(store.OpenOrCreateKey(kSettingsKeyPath));
  store.WriteInteger("Fast", 4);
  store.Commit();
  EXPECT_EQ(Contents(), "Fast=4\nBright=2\n[Quorvelian]\n");
}

TEST_F(FileStoreTest, DamagedFilesGiveErrorsAndSurviveSaves) {
  // Bytes 0..255 three times over, NUL and newline included: no value line
  // can come out of it that names a setting.
  std::string garbage;
  for (int round = 0; round < 3; ++round) {
    for (int b = 0; b < 256; ++b) garbage += static_cast<char>(b);
  }
  Seed(garbage);
  SceneState scene;
  FileSettingsStore store(file_.string());
  EXPECT_THROW(LoadSettings(scene, store, kFullScreenDefaults), SettingsError);
  EXPECT_EQ(Contents(), garbage);

  ASSERT_TRUE(store.OpenOrCreateKey(kSettingsKeyPath));
  store.WriteInteger("Fast", 5);
  store.Commit();
  store.CloseKey();
  const std::string after = Contents();
  EXPECT_NE(after.find("\nFast=5\n"), std::string::npos);
  // Every original byte is still there, in order, around the new line.
  std::string without = after;
  without.erase(without.find("Fast=5\n"), 7);
  EXPECT_EQ(without, garbage + (garbage.back() == '\n' ? "" : "\n"));

  // A 300 000-character line is just another unknown line.
  const std::string huge(300000, 'q');
  Seed(huge + "\nFast=2\n");
  ASSERT_TRUE(store.OpenOrCreateKey(kSettingsKeyPath));
  EXPECT_EQ(store.ReadInteger("Fast"), 2);
  store.WriteInteger("Fast", 3);
  store.Commit();
  EXPECT_EQ(Contents(), huge + "\nFast=3\n");
}

TEST_F(FileStoreTest, OversizedOrNonRegularFilesAreLeftAlone) {
  const std::string big(FileSettingsStore::kMaxFileBytes + 1, '#');
  Seed(big);
  FileSettingsStore store(file_.string());
  EXPECT_FALSE(store.OpenKey(kSettingsKeyPath));
  EXPECT_FALSE(store.OpenOrCreateKey(kSettingsKeyPath));
  // The first-run rule cannot write, so it falls back to defaults for this run.
  SceneState scene;
  LoadSettings(scene, store, kSettingsWindowDefaults);
  EXPECT_EQ(scene.Size, 12);
  EXPECT_EQ(Contents(), big);

  fs::remove(file_);
  fs::create_directories(file_);
  EXPECT_FALSE(store.OpenKey(kSettingsKeyPath));
  EXPECT_FALSE(store.OpenOrCreateKey(kSettingsKeyPath));
  EXPECT_TRUE(fs::is_directory(file_));
}

TEST_F(FileStoreTest, FailedWriteThrowsAndKeepsTheOldFile) {
  Seed("Fast=1\n");
  FileSettingsStore store(file_.string());
  ASSERT_TRUE(store.OpenOrCreateKey(kSettingsKeyPath));
  // The folder goes away under the open key (also works when run as root,
  // where permission bits would not stop the write).
  const fs::path moved = root_ / "moved";
  fs::rename(dir_, moved);
  store.WriteInteger("Bright", 7);
  store.WriteInteger("Fast", 2);
  try {
    store.Commit();
    FAIL() << "write into a vanished folder succeeded";
  } catch (const SettingsError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Bright'");
  }
  EXPECT_EQ(ReadFile(moved / "settings.ini"), "Fast=1\n");
  EXPECT_FALSE(fs::exists(dir_));
}

TEST_F(FileStoreTest, ClosedKeyNeitherReadsNorWrites) {
  Seed("Fast=1\n");
  FileSettingsStore store(file_.string());
  EXPECT_THROW(store.ReadInteger("Fast"), SettingsError);
  EXPECT_THROW(store.WriteInteger("Fast", 2), SettingsError);
  ASSERT_TRUE(store.OpenKey(kSettingsKeyPath));
  store.CloseKey();
  EXPECT_THROW(store.ReadInteger("Fast"), SettingsError);
  EXPECT_EQ(Contents(), "Fast=1\n");
}

TEST_F(FileStoreTest, SymbolicLinkIsFollowedAndModeKept) {
  fs::create_directories(dir_);
  const fs::path real = root_ / "dotfiles.ini";
  WriteFile(real, "Fast=1\n");
  chmod(real.c_str(), 0640);
  fs::create_symlink(real, file_);
  FileSettingsStore store(file_.string());
  ASSERT_TRUE(store.OpenOrCreateKey(kSettingsKeyPath));
  store.WriteInteger("Fast", 2);
  store.Commit();
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(ReadFile(real), "Fast=2\n");
  struct stat st {};
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace qv
