// The Linux program's options: spellings, ranges, errors, what is left for
// the mode-letter rule, and where the settings come from. Ranges and
// first-run values are the ones the settings window documents, written out
// here rather than read from the table the parser uses.
#include "app/options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scene/scene_state.h"

namespace qv {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

CommandLine Parse(std::vector<std::string> args) {
  return ParseCommandLine(args);
}

std::string ErrorOf(std::vector<std::string> args) {
  try {
    ParseCommandLine(args);
  } catch (const OptionError& e) {
    return e.what();
  }
  return "(no error)";
}

struct Option {
  const char* name;
  std::size_t setting;  // Fast, Bright, Satiation, Size, Snow, Frame
  int low, high;
};
constexpr Option kOptions[] = {{"speed", 0, 0, 10},     {"brightness", 1, 0, 10},
                               {"satiation", 2, 2, 10}, {"size", 3, 0, 14},
                               {"primitive", 4, 0, 10}, {"color", 5, 1, 9}};

TEST(Options, OneOrTwoDashesValueAfterABlankOrEquals) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"-speed", "8"}, {"--speed", "8"}, {"-speed=8"}, {"--speed=8"}}) {
    const CommandLine line = Parse(args);
    EXPECT_EQ(line.settings[0], 8) << args[0];
    EXPECT_TRUE(line.rest.empty()) << args[0];
  }
  const CommandLine line = Parse({"-root", "--fps", "-window-id", "0x2a", "--help", "-version"});
  EXPECT_TRUE(line.root && line.fps && line.help && line.version);
  EXPECT_EQ(line.window_id, "0x2a");
  EXPECT_EQ(Parse({"--window-id=123"}).window_id, "123");
}

TEST(Options, EachSettingTakesExactlyItsSlidersRange) {
  for (const Option& o : kOptions) {
    const std::string flag = std::string("--") + o.name;
    EXPECT_EQ(Parse({flag, std::to_string(o.low)}).settings[o.setting], o.low) << o.name;
    EXPECT_EQ(Parse({flag, std::to_string(o.high)}).settings[o.setting], o.high) << o.name;
    const std::string range = std::to_string(o.low) + " to " + std::to_string(o.high);
    for (int outside : {o.low - 1, o.high + 1}) {
      const std::string error = ErrorOf({flag, std::to_string(outside)});
      EXPECT_THAT(error, HasSubstr(flag)) << outside;
      EXPECT_THAT(error, HasSubstr(range)) << outside;
      EXPECT_EQ(error.find('\n'), std::string::npos);
    }
  }
  // Only the settings with a slider have an option.
  EXPECT_THAT(Parse({"--clock", "3"}).rest, ElementsAre("--clock", "3"));
}

TEST(Options, RefusesWhatIsNotAWholeNumberAndMissingValues) {
  for (const char* bad : {"", "abc", "5.0", "5x", " 5", "+5", "0x5", "-", "99999999999999999999"}) {
    EXPECT_THAT(ErrorOf({"--size", bad}), HasSubstr("takes a whole number")) << "'" << bad << "'";
  }
  EXPECT_THAT(ErrorOf({"--speed"}), HasSubstr("--speed needs a value"));
  EXPECT_THAT(ErrorOf({"/s", "-window-id"}), HasSubstr("needs a value"));
  EXPECT_THAT(ErrorOf({"--window-id="}), HasSubstr("needs a window id"));
  EXPECT_THAT(ErrorOf({"--fps=1"}), HasSubstr("--fps takes no value"));
  EXPECT_THAT(ErrorOf({"-root=yes"}), HasSubstr("--root takes no value"));
}

TEST(Options, EverythingElseKeepsTheModeLetterRule) {
  // A recognised option whose name starts with a mode letter is not a mode.
  EXPECT_TRUE(Parse({"-color", "3"}).rest.empty());
  EXPECT_TRUE(Parse({"--help"}).rest.empty());
  EXPECT_THAT(Parse({"/c"}).rest, ElementsAre("/c"));
  EXPECT_THAT(Parse({"-C"}).rest, ElementsAre("-C"));
  EXPECT_THAT(Parse({"-count", "5"}).rest, ElementsAre("-count", "5"));
  EXPECT_THAT(Parse({"-", "--", "x"}).rest, ElementsAre("-", "--", "x"));
  const CommandLine line = Parse({"--speed", "3", "/p", "1234"});
  EXPECT_EQ(line.First(), "/p");
  EXPECT_EQ(line.Second(), "1234");
  EXPECT_EQ(line.settings[0], 3);
  EXPECT_EQ(Parse({}).First(), "");
}

TEST(Options, SaverOptionsBesideAnotherModeAreAMistake) {
  EXPECT_THAT(ModeConflict(Parse({"/c", "--speed", "3"})), HasSubstr("'/c'"));
  EXPECT_NE(ModeConflict(Parse({"--fps", "/p", "77"})), "");
  EXPECT_EQ(ModeConflict(Parse({"/s", "--speed", "3", "--fps"})), "");
  EXPECT_EQ(ModeConflict(Parse({"--root", "--size", "3"})), "");
  EXPECT_EQ(ModeConflict(Parse({"/c"})), "");
  EXPECT_EQ(ModeConflict(Parse({"/p", "5", "--window-id", "9"})), "");
}

TEST(Options, SettingsComeFromTheCommandLineUnderXScreenSaverOrWhenGiven) {
  EXPECT_TRUE(SettingsFromCommandLine(Parse({"--root"}), false));
  EXPECT_TRUE(SettingsFromCommandLine(Parse({"-window-id", "5"}), false));
  EXPECT_TRUE(SettingsFromCommandLine(Parse({}), true));
  EXPECT_TRUE(SettingsFromCommandLine(Parse({"/s", "--speed", "2"}), false));
  EXPECT_FALSE(SettingsFromCommandLine(Parse({"/s", "--fps"}), false));
  EXPECT_FALSE(SettingsFromCommandLine(Parse({}), false));

  // Not given: the full-screen saver's first-run values.
  EXPECT_EQ(SettingsFromOptions(Parse({"--root"})), (SettingValues{5, 10, 5, 7, 0, 5, 5}));
  EXPECT_EQ(SettingsFromOptions(Parse({"--root", "--speed", "8", "--primitive", "6"})),
            (SettingValues{8, 10, 5, 7, 6, 5, 5}));
}

TEST(Options, FixedStoreServesTheOptionsAndKeepsNothing) {
  const auto store = MakeFixedSettingsStore({8, 3, 9, 14, 6, 2, 5});
  SceneState scene;
  LoadSettings(scene, *store, kFullScreenDefaults);
  EXPECT_EQ(scene.Fast, 8);
  EXPECT_EQ(scene.Bright, 3);
  EXPECT_EQ(scene.MeshDetail, 4);  // 9 / 2 = 4.5, halves to even
  EXPECT_EQ(scene.Size, 14);
  EXPECT_EQ(scene.PrimitiveMode, 2);  // 6 / 3
  EXPECT_EQ(scene.Frame, 2);

  scene.Fast = 1;
  SaveSettings(scene, *store);
  SceneState again;
  LoadSettings(again, *store, kFullScreenDefaults);
  EXPECT_EQ(again.Fast, 8);
}

TEST(Options, UsageNamesEveryOptionWithItsRange) {
  const std::string usage = UsageText("quorvelian");
  for (const Option& o : kOptions) {
    EXPECT_THAT(usage, HasSubstr(std::string("--") + o.name + " N"));
    EXPECT_THAT(usage, HasSubstr(std::to_string(o.low) + " to " + std::to_string(o.high)));
  }
  for (const char* other : {"--fps", "--root", "--window-id", "--help", "--version", "/c"}) {
    EXPECT_THAT(usage, HasSubstr(other));
  }
  EXPECT_THAT(VersionText(), HasSubstr("Quorvelian "));
}

}  // namespace
}  // namespace qv
