#include "app/options.h"

#include <cerrno>
#include <cstdlib>
#include <map>

#include "app/dispatch.h"

#ifndef QV_VERSION
#define QV_VERSION "unknown"
#endif

namespace qv {

namespace {

enum class Switch { kFps, kHelp, kVersion, kRoot };

const std::map<std::string, Switch>& Switches() {
  static const std::map<std::string, Switch> switches = {{"fps", Switch::kFps},
                                                         {"help", Switch::kHelp},
                                                         {"version", Switch::kVersion},
                                                         {"root", Switch::kRoot}};
  return switches;
}

constexpr const char* kWindowIdOption = "window-id";

std::optional<std::size_t> SettingOfOption(const std::string& name) {
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    if (kSettings[i].option != nullptr && name == kSettings[i].option) return i;
  }
  return std::nullopt;
}

std::string Range(const SettingSpec& spec) {
  return std::to_string(spec.min) + " to " + std::to_string(spec.max);
}

int ParseSettingValue(const SettingSpec& spec, const std::string& text) {
  const std::string complaint = std::string("--") + spec.option + " takes a whole number from " +
                                Range(spec) + ", not '" + text + "'";
  // strtol alone would take leading blanks and a '+'; the option takes
  // digits with an optional minus only.
  const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
  if (text.size() == digits) throw OptionError(complaint);
  for (std::size_t i = digits; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') throw OptionError(complaint);
  }
  errno = 0;
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value < spec.min || value > spec.max) throw OptionError(complaint);
  return static_cast<int>(value);
}

// "-name", "--name", "-name=value", "--name=value" -> name and value; a
// bare "-" or "--" and anything not starting with a dash are not options.
bool SplitOption(const std::string& arg, std::string& name, std::optional<std::string>& value) {
  if (arg.size() < 2 || arg[0] != '-') return false;
  const std::size_t start = arg[1] == '-' ? 2 : 1;
  if (start >= arg.size()) return false;
  const std::size_t equals = arg.find('=', start);
  name = arg.substr(start, equals == std::string::npos ? std::string::npos : equals - start);
  if (equals != std::string::npos) value = arg.substr(equals + 1);
  return true;
}

}  // namespace

bool CommandLine::HasSettings() const {
  for (const auto& s : settings) {
    if (s.has_value()) return true;
  }
  return false;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string name;
    std::optional<std::string> value;
    if (!SplitOption(arg, name, value)) {
      line.rest.push_back(arg);
      continue;
    }
    const auto setting = SettingOfOption(name);
    const auto sw = Switches().find(name);
    const bool takes_value = setting.has_value() || name == kWindowIdOption;
    if (!takes_value && sw == Switches().end()) {
      // Not ours: the mode-letter rule decides what it means.
      line.rest.push_back(arg);
      continue;
    }
    if (!takes_value) {
      if (value.has_value()) throw OptionError("--" + name + " takes no value");
      switch (sw->second) {
        case Switch::kFps:
          line.fps = true;
          break;
        case Switch::kHelp:
          line.help = true;
          break;
        case Switch::kVersion:
          line.version = true;
          break;
        case Switch::kRoot:
          line.root = true;
          break;
      }
      continue;
    }
    if (!value.has_value()) {
      if (i + 1 >= args.size()) throw OptionError("--" + name + " needs a value");
      value = args[++i];
    }
    if (setting.has_value()) {
      line.settings[*setting] = ParseSettingValue(kSettings[*setting], *value);
    } else {
      if (value->empty()) throw OptionError("--window-id needs a window id");
      line.window_id = *value;
    }
  }
  return line;
}

std::string ModeConflict(const CommandLine& line) {
  if (!line.HasSettings() && !line.fps) return "";
  const SaverMode mode = ModeFromArgument(line.First());
  if (mode == SaverMode::kFullScreen) return "";
  return "the setting options and --fps are for the saver, not for '" + line.First() + "'";
}

bool SettingsFromCommandLine(const CommandLine& line, bool xscreensaver_window_set) {
  return line.FromXScreenSaver() || xscreensaver_window_set || line.HasSettings();
}

SettingValues SettingsFromOptions(const CommandLine& line) {
  SettingValues values = kFullScreenDefaults;
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    if (line.settings[i].has_value()) values[i] = *line.settings[i];
  }
  return values;
}

namespace {

class FixedSettingsStore final : public SettingsStore {
 public:
  explicit FixedSettingsStore(const SettingValues& values) : values_(values) {}

  bool OpenKey(const std::string&) override { return true; }
  bool OpenOrCreateKey(const std::string&) override { return true; }
  std::int32_t ReadInteger(const std::string& name) override {
    for (std::size_t i = 0; i < kSettingCount; ++i) {
      if (name == kSettings[i].name) return values_[i];
    }
    throw SettingsError(FailedToGet(name));
  }
  void WriteInteger(const std::string&, std::int32_t) override {}
  void Commit() override {}
  void CloseKey() override {}

 private:
  SettingValues values_;
};

}  // namespace

std::unique_ptr<SettingsStore> MakeFixedSettingsStore(const SettingValues& values) {
  return std::make_unique<FixedSettingsStore>(values);
}

std::string UsageText(const std::string& program) {
  std::string text = "usage: " + program + " [/s | /c | /p WINDOW | /a WINDOW]\n" + "       " +
                     program + " [--root | --window-id WINDOW] [--SETTING N ...] [--fps]\n" +
                     "       " + program + " --help | --version\n\n" +
                     "Mode letters (second character of the first argument, any case):\n"
                     "  s or none  the saver, full screen\n"
                     "  c          the settings window\n"
                     "  p WINDOW   a preview inside the X window WINDOW\n"
                     "  a WINDOW   password change (nothing to do on this system)\n\n"
                     "Settings (one dash or two; the value after a blank or '='):\n";
  for (const SettingSpec& spec : kSettings) {
    if (spec.option == nullptr) continue;
    std::string head = std::string("  --") + spec.option + " N";
    head.resize(18, ' ');
    text += head + Range(spec) + ", first run " + std::to_string(spec.full_screen_default) +
            " (\"" + spec.caption + "\"): " + spec.meaning + "\n";
  }
  text +=
      "\nUnder XScreenSaver (--root, --window-id or XSCREENSAVER_WINDOW), or when a\n"
      "setting is given, the settings come from these options and the settings file\n"
      "is neither read nor written.\n\n"
      "Other options:\n"
      "  --fps             frames per second and frame time in the lower left corner\n"
      "  --root            draw into the window named by XSCREENSAVER_WINDOW\n"
      "  --window-id ID    draw into the X window ID (decimal or 0x hexadecimal)\n"
      "  --help            this text\n"
      "  --version         the program's version\n";
  return text;
}

std::string VersionText() {
  return std::string(kApplicationTitle) + " " + QV_VERSION + "\n";
}

}  // namespace qv
