#include "app/dispatch.h"

namespace qv {

std::optional<char> ModeLetter(std::string_view first_argument) {
  if (first_argument.size() < 2) return std::nullopt;
  char letter = first_argument[1];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  return letter;
}

SaverMode ModeFromArgument(std::string_view first_argument) {
  switch (ModeLetter(first_argument).value_or('\0')) {
    case 'C': return SaverMode::kSettings;
    case 'P': return SaverMode::kPreview;
    case 'A': return SaverMode::kChangePassword;
    default: return SaverMode::kFullScreen;
  }
}

namespace {
int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}
}  // namespace

std::int32_t ParseParentHandle(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return 0;
  // Decimal texts must fit a signed 32-bit value; hexadecimal ones may use all
  // 32 bits (a handle such as $80001234 reads as its bit pattern).
  const std::int64_t limit = base == 16 ? 0xFFFFFFFFLL : negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const int d = DigitValue(text[i], base);
    if (d < 0) return 0;
    value = value * base + d;
    if (value > limit) return 0;
  }
  const auto bits = static_cast<std::uint32_t>(static_cast<std::uint64_t>(value));
  return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

}  // namespace qv
