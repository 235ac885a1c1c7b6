// `bench` runs every case, real OpenGL frames included, without a display.
// Only the report's shape is checked: timings are for people to read.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_process.h"

namespace qv::render_tool_test {
namespace {

// " +[0-9]+\.[0-9]{4} ms   \(target [0-9.]+ ms\)(  OVER)?", by hand: GCC 12's
// <regex> does not build warning-free under the sanitizers.
bool IsTimingTail(const std::string& s) {
  std::size_t i = 0;
  auto run = [&](auto accept) {
    const std::size_t start = i;
    while (i < s.size() && accept(s[i])) ++i;
    return i - start;
  };
  auto literal = [&](const char* text) {
    const std::string t = text;
    if (s.compare(i, t.size(), t) != 0) return false;
    i += t.size();
    return true;
  };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (run([](char c) { return c == ' '; }) == 0) return false;
  if (run(digit) == 0 || !literal(".") || run(digit) != 4) return false;
  if (!literal(" ms   (target ")) return false;
  if (run([&](char c) { return digit(c) || c == '.'; }) == 0) return false;
  if (!literal(" ms)")) return false;
  if (i == s.size()) return true;
  return literal("  OVER") && i == s.size();
}

TEST(Timings, BenchReportsEveryCase) {
  const ToolResult r = RunTool({"bench", "--repetitions", "1"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> lines = SplitLines(r.out);
  const std::vector<std::string> names = {
      "RegenerateAllSpecies M=1",
      "RegenerateAllSpecies M=2",
      "RegenerateAllSpecies M=3",
      "RegenerateAllSpecies M=4",
      "RegenerateAllSpecies M=5",
      "frame, null sink, defaults",
      "frame, null sink, heaviest",
      "frame, OpenGL 1024x768, defaults",
      "frame, OpenGL 1024x768, heaviest",
      "caption, OpenGL 1024x768, list per glyph",
      "caption, OpenGL 1024x768, joined strings",
  };
  ASSERT_EQ(lines.size(), names.size() + 1) << r.out;
  EXPECT_EQ(lines[0], "medians of 1 repetitions");
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& line = lines[i + 1];
    ASSERT_EQ(line.rfind(names[i], 0), 0u) << line;
    EXPECT_TRUE(IsTimingTail(line.substr(names[i].size()))) << line;
  }
}

}  // namespace
}  // namespace qv::render_tool_test
