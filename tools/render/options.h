#pragma once
// Command-line options of the form "--name value" after a subcommand. Every
// mistake becomes a UsageError, which main turns into one line on stderr and
// exit code 2, so scripts can tell bad arguments from failed renders.

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv::render_tool {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Options {
 public:
  // `known` lists the option names (without "--") the subcommand accepts.
  Options(const std::vector<std::string>& args, const std::vector<std::string>& known);

  bool Has(const std::string& name) const { return values_.count(name) != 0; }
  std::string Text(const std::string& name, const std::string& fallback) const;
  // Whole-string integers in [low, high]: an optional sign and decimal digits,
  // nothing before or after. Anything else is a UsageError.
  long long Integer(const std::string& name, long long fallback, long long low,
                    long long high) const;
  // Finite decimal numbers only, written as the integers plus an optional
  // fraction and decimal exponent (no blanks, hexadecimal, inf or nan).
  double Real(const std::string& name, double fallback) const;

 private:
  std::map<std::string, std::string> values_;
};

long long ParseInteger(const std::string& option, const std::string& text, long long low,
                       long long high);
// "a,b,c": exactly three flower kinds 0..11.
std::vector<int> ParseKinds(const std::string& text);

}  // namespace qv::render_tool
