// Scripts tell a bad command line from a failed render by the exit code:
// every argument mistake is one line on stderr, nothing on stdout, code 2.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_process.h"

namespace qv::render_tool_test {
namespace {

void ExpectUsageError(const std::vector<std::string>& args) {
  std::string shown;
  for (const std::string& a : args) shown += " " + a;
  SCOPED_TRACE("quorvelian-render" + shown);
  const ToolResult r = RunTool(args);
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_EQ(r.out, "");
  ASSERT_FALSE(r.err.empty());
  EXPECT_EQ(r.err.back(), '\n');
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "more than one line: " << r.err;
}

TEST(Arguments, SubcommandAndOptionMistakes) {
  ExpectUsageError({});
  ExpectUsageError({"frobnicate"});
  ExpectUsageError({"--mesh-detail", "1"});
  ExpectUsageError({"geometry", "--bogus", "1"});
  ExpectUsageError({"geometry", "--mesh-detail"});
  ExpectUsageError({"geometry", "3"});
  ExpectUsageError({"geometry", "--"});
  ExpectUsageError({"calls", "--kind", "0", "--primitive", "0"});
  ExpectUsageError({"calls", "--primitive", "0", "--mesh-detail", "1"});
  ExpectUsageError({"snapshot", "--width", "64"});
  ExpectUsageError({"gallery", "--primitive", "2"});
  ExpectUsageError({"bench", "--frames", "3"});
}

TEST(Arguments, BadNumbers) {
  ExpectUsageError({"geometry", "--mesh-detail", "abc"});
  ExpectUsageError({"geometry", "--mesh-detail", "1.5"});
  ExpectUsageError({"geometry", "--mesh-detail", ""});
  ExpectUsageError({"geometry", "--color", "7x"});
  ExpectUsageError({"geometry", "--color", "99999999999999999999"});
  ExpectUsageError(
      {"calls", "--kind", "0", "--primitive", "0", "--mesh-detail", "1", "--alpha", "nan"});
  ExpectUsageError(
      {"calls", "--kind", "0", "--primitive", "0", "--mesh-detail", "1", "--turn", "1e999"});
  ExpectUsageError({"snapshot", "--out", ScratchDir() + "/bad.png", "--width", "0"});
  ExpectUsageError({"snapshot", "--out", ScratchDir() + "/bad.png", "--frames", "-3"});
  ExpectUsageError({"bench", "--repetitions", "0"});
}

// Numbers exactly as the help writes them: no blanks, no hexadecimal, no
// inf or nan, though the C library would read all of them.
TEST(Arguments, NumbersAreTakenOnlyAsTheHelpWritesThem) {
  const std::vector<std::string> calls = {"calls", "--kind", "0", "--primitive", "0"};
  auto with = [&](std::vector<std::string> tail) {
    std::vector<std::string> args = calls;
    args.insert(args.end(), tail.begin(), tail.end());
    return args;
  };
  for (const char* integer : {" 1", "\t1", "\n1", "1 ", "0x1", "+-1", "1e0", "--1"}) {
    ExpectUsageError(with({"--mesh-detail", integer}));
  }
  for (const char* real :
       {" 0.5", "\t1", "0x1p-1", "0X.8", "inf", "nan", "1e", "1e+", ".", "-.e1", "1.5.", "1,5"}) {
    ExpectUsageError(with({"--mesh-detail", "1", "--alpha", real}));
  }
  for (const std::vector<std::string>& fine :
       {with({"--mesh-detail", "+1", "--size", "-3", "--alpha", ".5", "--turn", "1e2"}),
        with({"--mesh-detail", "007", "--alpha", "1.", "--turn", "-2.5E-1"})}) {
    const ToolResult r = RunTool(fine);
    EXPECT_EQ(r.exit_code, 0) << r.err;
  }
}

// Any int a settings file can hold is drawn without overflow; Size - 20 is
// placed as the nearest float: -2^31 for INT_MIN, 2^31 for INT_MAX
// (2147483627 is nearer 2^31 than the float below it, 2^31 - 128).
TEST(Arguments, SettingsAtTheEndsOfInt) {
  struct Case {
    const char* size;
    double depth;
  } cases[] = {{"-2147483648", -2147483648.0}, {"2147483647", 2147483648.0}};
  for (const Case& c : cases) {
    const ToolResult r = RunTool(
        {"calls", "--kind", "4", "--primitive", "2", "--mesh-detail", "1", "--size", c.size});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const std::vector<std::string> lines = SplitLines(r.out);
    ASSERT_GE(lines.size(), 2u);
    const std::vector<std::string> translate = Split(lines[1], ' ');
    ASSERT_EQ(translate.size(), 4u) << lines[1];
    EXPECT_EQ(translate[0], "glTranslatef");
    // The dump prints floats with nine digits, enough to give back the float.
    EXPECT_EQ(static_cast<float>(std::stod(translate[3])), static_cast<float>(c.depth)) << c.size;
  }
  const std::string out = ScratchDir() + "/ends.png";
  for (const char* v : {"-2147483648", "2147483647"}) {
    const ToolResult r =
        RunTool({"snapshot", "--out",  out,      "--width", "32",       "--height", "24",
                 "--frames", "3",      "--fast", v,         "--bright", v,          "--satiation",
                 v,          "--size", v,        "--snow",  v,          "--frame",  v});
    EXPECT_EQ(r.exit_code, 0) << v << ": " << r.err;
  }
}

TEST(Arguments, KindsAndPrimitivesOutOfRange) {
  const std::vector<std::string> tail = {"--mesh-detail", "1"};
  for (const char* kind : {"12", "-1", "100"}) {
    std::vector<std::string> args = {"calls", "--kind", kind, "--primitive", "0"};
    args.insert(args.end(), tail.begin(), tail.end());
    ExpectUsageError(args);
  }
  for (const char* primitive : {"4", "-1", "all"}) {
    std::vector<std::string> args = {"calls", "--kind", "0", "--primitive", primitive};
    args.insert(args.end(), tail.begin(), tail.end());
    ExpectUsageError(args);
  }
  const std::string out = ScratchDir() + "/bad.png";
  for (const char* primitive : {"4", "-1", "points"}) {
    ExpectUsageError({"gallery", "--out", out, "--primitive", primitive});
  }
  for (const char* kinds : {"1,2", "1,2,3,4", "1,2,12", "1,,2", "a,b,c"}) {
    ExpectUsageError({"snapshot", "--out", out, "--kinds", kinds});
  }
}

// The help is the one place a user finds the options; each option it names
// must be one its subcommand takes, and every subcommand must be named.
TEST(Arguments, HelpNamesWhatEachSubcommandTakes) {
  for (const char* asked : {"--help", "-h", "help"}) {
    const ToolResult r = RunTool({asked});
    EXPECT_EQ(r.exit_code, 0) << asked;
    EXPECT_EQ(r.err, "") << asked;
    EXPECT_EQ(r.out.rfind("usage: quorvelian-render", 0), 0u) << r.out;
  }
  const std::string help = RunTool({"--help"}).out;
  const std::vector<std::string> lines = SplitLines(help);
  std::vector<std::string> named;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const std::size_t colon = lines[i].find(':');
    if (lines[i].rfind("  ", 0) != 0 || colon == std::string::npos) continue;
    const std::string sub = lines[i].substr(2, colon - 2);
    named.push_back(sub);
    int options = 0;
    for (const std::string& word : Split(lines[i + 1], ' ')) {
      if (word.empty()) continue;
      ASSERT_EQ(word.rfind("--", 0), 0u) << sub << ": " << lines[i + 1];
      ++options;
      const ToolResult r = RunTool({sub, word});
      EXPECT_EQ(r.exit_code, 2) << sub << " " << word;
      EXPECT_NE(r.err.find("needs a value"), std::string::npos)
          << sub << " " << word << ": " << r.err;
    }
    EXPECT_GT(options, 0) << sub;
  }
  EXPECT_EQ(named, (std::vector<std::string>{"geometry", "calls", "snapshot", "gallery", "bench",
                                             "icon"}));
  // The snapshot takes the six sliders by their stored names.
  for (const char* setting : {"--fast", "--bright", "--satiation", "--size", "--snow", "--frame"}) {
    EXPECT_NE(help.find(setting), std::string::npos) << setting;
  }
}

}  // namespace
}  // namespace qv::render_tool_test
