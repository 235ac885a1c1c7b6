#pragma once
// Runs quorvelian-render as a child process and reads what it leaves behind:
// its two output streams, its exit code and the PNGs it writes.

#include <string>
#include <vector>

namespace qv::render_tool_test {

struct ToolResult {
  int exit_code = -1;  // -1 when the child did not exit normally
  std::string out;
  std::string err;
};

// The child gets no DISPLAY and no WAYLAND_DISPLAY: the offscreen paths must
// work on a machine without any window system, as CI is.
ToolResult RunTool(const std::vector<std::string>& args);

// A fresh directory for this process's files (removed at exit).
std::string ScratchDir();

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // rows top first, 3 bytes per pixel

  const unsigned char* At(int x, int y) const {
    return &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)) *
                3];
  }
};
// Empty picture (width 0) when the file is missing or not a PNG.
Picture ReadPng(const std::string& path);
std::string ReadFile(const std::string& path);

std::vector<std::string> SplitLines(const std::string& text);
std::vector<std::string> Split(const std::string& text, char separator);

}  // namespace qv::render_tool_test
