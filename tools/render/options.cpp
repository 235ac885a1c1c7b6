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

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Skips a run of digits at `i`; false when there is none.
bool Digits(const std::string& text, std::size_t& i) {
  const std::size_t start = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i > start;
}

void Sign(const std::string& text, std::size_t& i) {
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
}

// What the help calls an integer: an optional sign and decimal digits. The C
// library's readers also take leading blanks (and, for reals, hexadecimal
// and "inf"), which would let a mangled script argument pass as a number.
bool IsDecimalInteger(const std::string& text) {
  std::size_t i = 0;
  Sign(text, i);
  return Digits(text, i) && i == text.size();
}

// And a real: sign, digits with an optional point (or a point and digits),
// an optional decimal exponent.
bool IsDecimalReal(const std::string& text) {
  std::size_t i = 0;
  Sign(text, i);
  const bool whole = Digits(text, i);
  bool fraction = false;
  if (i < text.size() && text[i] == '.') {
    ++i;
    fraction = Digits(text, i);
  }
  if (!whole && !fraction) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    Sign(text, i);
    if (!Digits(text, i)) return false;
  }
  return i == text.size();
}

// The text as the one line of an error message shows it.
std::string Shown(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[(static_cast<unsigned char>(c) >> 4) & 0xf];
      out += kHex[static_cast<unsigned char>(c) & 0xf];
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

long long ParseInteger(const std::string& option, const std::string& text, long long low,
                       long long high) {
  errno = 0;
  const bool decimal = IsDecimalInteger(text);
  const long long value = decimal ? std::strtoll(text.c_str(), nullptr, 10) : 0;
  if (!decimal || errno == ERANGE) {
    throw UsageError("option '--" + option + "' needs an integer, got '" + Shown(text) + "'");
  }
  if (value < low || value > high) {
    throw UsageError("option '--" + option + "' must lie in " + std::to_string(low) + ".." +
                     std::to_string(high) + ", got " + Shown(text));
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
  const bool decimal = IsDecimalReal(text);
  const double value = decimal ? std::strtod(text.c_str(), nullptr) : 0;
  if (!decimal || !std::isfinite(value)) {
    throw UsageError("option '--" + name + "' needs a finite number, got '" + Shown(text) + "'");
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
