#pragma once
// The options of the Linux program besides the mode letter: one per slider
// of the settings window (named, ranged and explained by the settings
// table), XScreenSaver's -root, -window-id and -fps, and --help/--version.
// Every option is taken with one dash or two, its value after a blank or an
// equals sign. What is not an option is left, in order, for the mode-letter
// rule.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/settings.h"

namespace qv {

// One line, without the program's name, for stderr; the process then ends
// with exit code 2.
class OptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CommandLine {
  // Indexed like kSettings; set where an option gave the value.
  std::array<std::optional<int>, kSettingCount> settings{};
  bool fps = false;
  bool help = false;
  bool version = false;
  bool root = false;
  std::optional<std::string> window_id;  // as written; checked by the shell
  // The arguments that are not options, for the mode-letter rule.
  std::vector<std::string> rest;

  bool HasSettings() const;
  // --root or --window-id: the way XScreenSaver starts a module.
  bool FromXScreenSaver() const { return root || window_id.has_value(); }
  // Arguments for the mode-letter rule: the first two of `rest`, or "".
  std::string First() const { return rest.empty() ? std::string() : rest[0]; }
  std::string Second() const { return rest.size() < 2 ? std::string() : rest[1]; }
};

// Throws OptionError for a value that is missing, not a whole number, or
// outside its setting's range, and for a value given to a switch.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// Options that only the saver itself uses (settings and --fps) next to a
// mode letter of another front-end: the one-line complaint, or "" when
// they fit together.
std::string ModeConflict(const CommandLine& line);

// Whether the saver takes its settings from the command line instead of the
// settings file: under XScreenSaver (its options, or XSCREENSAVER_WINDOW
// set in the environment), or when any setting option is given.
bool SettingsFromCommandLine(const CommandLine& line, bool xscreensaver_window_set);

// The settings the saver runs with when they come from the command line:
// the full-screen saver's first-run values, replaced where an option gave one.
SettingValues SettingsFromOptions(const CommandLine& line);

// A store that serves `values` and keeps nothing: under XScreenSaver the
// settings file is neither read nor written.
std::unique_ptr<SettingsStore> MakeFixedSettingsStore(const SettingValues& values);

std::string UsageText(const std::string& program);
std::string VersionText();

}  // namespace qv
