// `bench` runs every case, real OpenGL frames included, without a display.
// Only the report's shape is checked: timings are for people to read.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tool_process.h"

namespace qv::render_tool_test {
namespace {

TEST(Timings, BenchReportsEveryCase) {
  const ToolResult r = RunTool({"bench", "--repetitions", "1"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> lines = SplitLines(r.out);
  const std::vector<std::string> names = {
      "RegenerateAllSpecies M=1",         "RegenerateAllSpecies M=2",
      "RegenerateAllSpecies M=3",         "RegenerateAllSpecies M=4",
      "RegenerateAllSpecies M=5",         "frame, null sink, defaults",
      "frame, null sink, heaviest",       "frame, OpenGL 1024x768, defaults",
      "frame, OpenGL 1024x768, heaviest",
  };
  ASSERT_EQ(lines.size(), names.size() + 1) << r.out;
  EXPECT_EQ(lines[0], "medians of 1 repetitions");
  const std::regex timing(" +[0-9]+\\.[0-9]{4} ms   \\(target [0-9.]+ ms\\)(  OVER)?");
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& line = lines[i + 1];
    ASSERT_EQ(line.rfind(names[i], 0), 0u) << line;
    EXPECT_TRUE(std::regex_match(line.substr(names[i].size()), timing)) << line;
  }
}

}  // namespace
}  // namespace qv::render_tool_test
