#include "options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace qv::render_tool {

Options::Options(const std::vector<std::string>& args, const std::vector<std::string>& known) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0 || arg.size() == 2) {
      throw UsageError("unexpected argument '" + arg + "'");
    }
    const std::string name = arg.substr(2);
    bool accepted = false;
    for (const std::string& k : known) accepted = accepted || k == name;
    if (!accepted) throw UsageError("unknown option '" + arg + "'");
    if (i + 1 >= args.size()) throw UsageError("option '" + arg + "' needs a value");
    values_[name] = args[++i];
  }
}

std::string Options::Text(const std::string& name, const std::string& fallback) const {
  const auto it = values_.find(name);
  return it == values_.end() ? fallback : it->second;
}

long long ParseInteger(const std::string& option, const std::string& text, long long low,
                       long long high) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(begin, &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE) {
    throw UsageError("option '--" + option + "' needs an integer, got '" + text + "'");
  }
  if (value < low || value > high) {
    throw UsageError("option '--" + option + "' must lie in " + std::to_string(low) + ".." +
                     std::to_string(high) + ", got " + text);
  }
  return value;
}

long long Options::Integer(const std::string& name, long long fallback, long long low,
                           long long high) const {
  const auto it = values_.find(name);
  if (it == values_.end()) return fallback;
  return ParseInteger(name, it->second, low, high);
}

double Options::Real(const std::string& name, double fallback) const {
  const auto it = values_.find(name);
  if (it == values_.end()) return fallback;
  const std::string& text = it->second;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(value)) {
    throw UsageError("option '--" + name + "' needs a finite number, got '" + text + "'");
  }
  return value;
}

std::vector<int> ParseKinds(const std::string& text) {
  std::vector<int> kinds;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? comma : comma - start);
    kinds.push_back(static_cast<int>(ParseInteger("kinds", item, 0, 11)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (kinds.size() != 3) {
    throw UsageError("option '--kinds' needs three kinds a,b,c, got '" + text + "'");
  }
  return kinds;
}

}  // namespace qv::render_tool
