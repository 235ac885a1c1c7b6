// quorvelian-render's argument parsing on any argument list (the input split
// at NUL bytes). Any mistake must come out as a UsageError, never as a crash
// or another exception; a number is accepted exactly when a reader written
// here accepts it (integers: sign and digits, within the range; reals: plain
// decimal with an optional exponent, finite), and reads as the same number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "options.h"

namespace {

using qv::render_tool::Options;
using qv::render_tool::UsageError;

[[noreturn]] void Fail(const std::string& why, const std::vector<std::string>& args) {
  std::fprintf(stderr, "render options check failed: %s\nargs:", why.c_str());
  for (const std::string& a : args) std::fprintf(stderr, " '%s'", a.c_str());
  std::fprintf(stderr, "\n");
  std::abort();
}

// Every option any subcommand takes.
const std::vector<std::string> kKnown = {
    "mesh-detail", "color",  "kind",      "primitive", "size",   "alpha",      "slot-angle",
    "turn",        "out",    "width",     "height",    "frames", "seed",       "kinds",
    "fast",        "bright", "satiation", "snow",      "frame",  "repetitions"};

// Plain decimal: an optional sign and 1..18 digits (enough for any range used
// here; longer texts are left to the range check). False when the text is not
// that shape.
bool ReferenceDecimal(const std::string& text, bool* fits, long long* value) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i == text.size()) return false;
  for (std::size_t j = i; j < text.size(); ++j) {
    if (text[j] < '0' || text[j] > '9') return false;
  }
  std::size_t first = i;
  while (first + 1 < text.size() && text[first] == '0') ++first;
  *fits = text.size() - first <= 18;
  if (*fits) {
    long long v = 0;
    for (std::size_t j = first; j < text.size(); ++j) v = v * 10 + (text[j] - '0');
    *value = text[0] == '-' ? -v : v;
  }
  return true;
}

void CheckInteger(const Options& options, const std::string& name, long long low, long long high,
                  const std::vector<std::string>& args) {
  const std::string text = options.Text(name, "");
  bool fits = false;
  long long wanted = 0;
  const bool decimal = ReferenceDecimal(text, &fits, &wanted);
  const bool should_accept = decimal && fits && wanted >= low && wanted <= high;
  try {
    const long long got = options.Integer(name, low, low, high);
    if (!options.Has(name)) return;
    if (!should_accept) Fail(name + " accepted '" + text + "'", args);
    if (got != wanted) {
      Fail(name + " read as " + std::to_string(got) + ", text says " + std::to_string(wanted),
           args);
    }
  } catch (const UsageError&) {
    if (should_accept) Fail(name + " refused '" + text + "'", args);
  }
}

bool AllDigits(const std::string& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// Decimal real: [sign] digits [. digits] or [sign] [digits] . digits, then
// an optional e or E, a sign and digits. Checked piece by piece on the text
// cut at its exponent letter and its point.
bool ReferenceRealShape(std::string text) {
  const std::size_t e = text.find_first_of("eE");
  if (e != std::string::npos) {
    std::string exponent = text.substr(e + 1);
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) exponent.erase(0, 1);
    if (!AllDigits(exponent)) return false;
    text.erase(e);
  }
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.erase(0, 1);
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return AllDigits(text);
  const std::string whole = text.substr(0, point);
  const std::string fraction = text.substr(point + 1);
  if (whole.empty() && fraction.empty()) return false;
  return (whole.empty() || AllDigits(whole)) && (fraction.empty() || AllDigits(fraction));
}

void CheckReal(const Options& options, const std::string& name,
               const std::vector<std::string>& args) {
  if (!options.Has(name)) return;
  const std::string text = options.Text(name, "");
  const bool shape = ReferenceRealShape(text);
  const double value = shape ? std::strtod(text.c_str(), nullptr) : 0;
  const bool should_accept = shape && std::isfinite(value);
  try {
    const double got = options.Real(name, 0.5);
    if (!should_accept) Fail(name + " accepted '" + text + "'", args);
    if (got != value) Fail(name + " read '" + text + "' as another number", args);
  } catch (const UsageError&) {
    if (should_accept) Fail(name + " refused '" + text + "'", args);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args;
  std::string current;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.push_back(current);
      current.clear();
    } else {
      current += static_cast<char>(data[i]);
    }
  }
  if (size > 0) args.push_back(current);

  try {
    const Options options(args, kKnown);
    CheckInteger(options, "mesh-detail", 1, 5, args);
    CheckInteger(options, "kind", 0, 11, args);
    CheckInteger(options, "primitive", 0, 3, args);
    CheckInteger(options, "color", -2147483648LL, 2147483647LL, args);
    CheckInteger(options, "width", 1, 8192, args);
    CheckInteger(options, "seed", 0, 4294967295LL, args);
    CheckReal(options, "alpha", args);
    CheckReal(options, "turn", args);
    if (options.Has("kinds")) {
      try {
        const std::vector<int> kinds = qv::render_tool::ParseKinds(options.Text("kinds", ""));
        if (kinds.size() != 3) Fail("kinds accepted without three entries", args);
        for (int k : kinds) {
          if (k < 0 || k > 11) Fail("kinds accepted " + std::to_string(k), args);
        }
      } catch (const UsageError&) {
      }
    }
  } catch (const UsageError&) {
  }
  return 0;
}
