// quorvelian-render: the scene without a window. Dumps for exact
// comparisons, offscreen pictures and timings.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "dumps.h"
#include "options.h"
#include "render_commands.h"

namespace {

constexpr const char* kUsage =
    "usage: quorvelian-render geometry|calls|snapshot|gallery|bench|icon [--option value ...]";

int Run(const std::string& command, const std::vector<std::string>& args) {
  using qv::render_tool::Options;
  namespace rt = qv::render_tool;
  if (command == "geometry") {
    return rt::RunGeometry(Options(args, {"mesh-detail", "color"}), stdout);
  }
  if (command == "calls") {
    return rt::RunCalls(Options(args, {"kind", "primitive", "mesh-detail", "color", "size", "alpha",
                                       "slot-angle", "turn"}),
                        stdout);
  }
  if (command == "snapshot") {
    return rt::RunSnapshot(Options(args, rt::SnapshotOptionNames()));
  }
  if (command == "gallery") {
    return rt::RunGallery(Options(args, {"out", "primitive", "mesh-detail", "color"}));
  }
  if (command == "bench") return rt::RunBench(Options(args, {"repetitions"}));
  if (command == "icon") return rt::RunIcon(Options(args, {"out", "size", "kind"}));
  throw qv::render_tool::UsageError("unknown subcommand '" + command + "'");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "%s\n", kUsage);
    return 2;
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  try {
    return Run(argv[1], args);
  } catch (const qv::render_tool::UsageError& e) {
    std::fprintf(stderr, "quorvelian-render: %s\n", e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quorvelian-render: %s\n", e.what());
    return 1;
  }
}
