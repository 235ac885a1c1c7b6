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

namespace rt = qv::render_tool;

struct Subcommand {
  const char* name;
  const char* what;
  std::vector<std::string> options;
  int (*run)(const rt::Options&);
};

// One list serves both the parsing and the help, so the help cannot name an
// option that the subcommand refuses.
const std::vector<Subcommand>& Subcommands() {
  static const std::vector<Subcommand> list = {
      {"geometry",
       "the flowers' vertex tables as CSV",
       {"mesh-detail", "color"},
       [](const rt::Options& o) { return rt::RunGeometry(o, stdout); }},
      {"calls",
       "the GL calls of one flower as text",
       {"kind", "primitive", "mesh-detail", "color", "size", "alpha", "slot-angle", "turn"},
       [](const rt::Options& o) { return rt::RunCalls(o, stdout); }},
      {"snapshot", "a full-screen frame as PNG", rt::SnapshotOptionNames(), rt::RunSnapshot},
      {"gallery",
       "the twelve kinds side by side as PNG",
       {"out", "primitive", "mesh-detail", "color"},
       rt::RunGallery},
      {"bench",
       "medians of the timing cases and of real OpenGL frames",
       {"repetitions"},
       rt::RunBench},
      {"icon", "the application icon as PNG", {"out", "size", "kind"}, rt::RunIcon},
  };
  return list;
}

std::string Usage() {
  std::string text = "usage: quorvelian-render SUBCOMMAND [--option value ...]\n";
  for (const Subcommand& s : Subcommands()) {
    text += "\n  " + std::string(s.name) + ": " + s.what + "\n   ";
    for (const std::string& o : s.options) text += " --" + o;
    text += "\n";
  }
  return text;
}

int Run(const std::string& command, const std::vector<std::string>& args) {
  for (const Subcommand& s : Subcommands()) {
    if (command == s.name) return s.run(rt::Options(args, s.options));
  }
  throw rt::UsageError("unknown subcommand '" + command + "' (--help lists them)");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "quorvelian-render: a subcommand is needed (--help lists them)\n");
    return 2;
  }
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(Usage().c_str(), stdout);
    return 0;
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  try {
    return Run(command, args);
  } catch (const rt::UsageError& e) {
    std::fprintf(stderr, "quorvelian-render: %s\n", e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quorvelian-render: %s\n", e.what());
    return 1;
  }
}
