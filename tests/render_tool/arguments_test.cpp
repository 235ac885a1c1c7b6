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

}  // namespace
}  // namespace qv::render_tool_test
