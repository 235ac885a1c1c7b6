// The mode letter and the two window-handle parsers against references
// written from the rules alone, in a different way: the references never
// accumulate a number while reading; they check the shape of the text first,
// decide the range by comparing digit strings, and only then convert.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/dispatch.h"
#include "app/window_id_posix.h"

namespace {

[[noreturn]] void Mismatch(const char* what, std::string_view input, long long got,
                           long long wanted) {
  std::fprintf(stderr, "%s disagrees on \"", what);
  for (unsigned char c : input) std::fprintf(stderr, c >= 32 && c < 127 ? "%c" : "\\x%02x", c);
  std::fprintf(stderr, "\": got %lld, reference %lld\n", got, wanted);
  std::abort();
}

bool IsDigitIn(char c, int base) {
  if (c >= '0' && c <= '9') return true;
  if (base != 16) return false;
  return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Digits without leading zeros ("" for zero).
std::string_view Significant(std::string_view digits) {
  while (!digits.empty() && digits.front() == '0') digits.remove_prefix(1);
  return digits;
}

// digits <= limit, both in the same base, the limit written in upper case.
bool AtMost(std::string_view digits, std::string_view limit) {
  digits = Significant(digits);
  if (digits.size() != limit.size()) return digits.size() < limit.size();
  for (std::size_t i = 0; i < digits.size(); ++i) {
    char c = digits[i];
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    if (c != limit[i]) return c < limit[i];
  }
  return true;
}

std::uint64_t ValueOf(std::string_view digits, int base) {
  // Only called on texts already known to fit 32 bits.
  return std::strtoull(std::string(digits).c_str(), nullptr, base);
}

std::int32_t ReferenceParentHandle(std::string_view text) {
  std::string_view rest = text;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  int base = 10;
  for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (rest.substr(0, prefix.size()) == prefix) {
      base = 16;
      rest.remove_prefix(prefix.size());
      break;
    }
  }
  if (rest.empty()) return 0;
  for (char c : rest) {
    if (!IsDigitIn(c, base)) return 0;
  }
  if (base == 16) {
    if (!AtMost(rest, "FFFFFFFF")) return 0;
    // Hexadecimal texts name the 32 bits themselves; a sign negates them
    // modulo 2^32.
    std::uint32_t bits = static_cast<std::uint32_t>(ValueOf(rest, 16));
    if (negative) bits = ~bits + 1u;
    return static_cast<std::int32_t>(bits);
  }
  if (!AtMost(rest, negative ? "2147483648" : "2147483647")) return 0;
  const long long magnitude = static_cast<long long>(ValueOf(rest, 10));
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

unsigned long ReferenceXWindowId(std::string_view text) {
  int base = 10;
  std::string_view digits = text;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    digits.remove_prefix(2);
  }
  if (digits.empty()) return 0;
  for (char c : digits) {
    if (!IsDigitIn(c, base)) return 0;
  }
  if (!AtMost(digits, base == 16 ? "FFFFFFFF" : "4294967295")) return 0;
  return static_cast<unsigned long>(ValueOf(digits, base));
}

void CheckModeLetter(std::string_view argument) {
  const std::optional<char> letter = qv::ModeLetter(argument);
  if (argument.size() < 2) {
    if (letter.has_value()) Mismatch("ModeLetter", argument, *letter, -1);
  } else {
    const unsigned char second = static_cast<unsigned char>(argument[1]);
    const unsigned char wanted =
        second >= 'a' && second <= 'z' ? static_cast<unsigned char>(second - 32) : second;
    if (!letter.has_value() || static_cast<unsigned char>(*letter) != wanted) {
      Mismatch("ModeLetter", argument, letter ? *letter : -1, wanted);
    }
  }
  qv::SaverMode wanted_mode = qv::SaverMode::kFullScreen;
  if (argument.size() >= 2) {
    switch (argument[1]) {
      case 'c':
      case 'C':
        wanted_mode = qv::SaverMode::kSettings;
        break;
      case 'p':
      case 'P':
        wanted_mode = qv::SaverMode::kPreview;
        break;
      case 'a':
      case 'A':
        wanted_mode = qv::SaverMode::kChangePassword;
        break;
      default:
        break;
    }
  }
  const qv::SaverMode mode = qv::ModeFromArgument(argument);
  if (mode != wanted_mode) {
    Mismatch("ModeFromArgument", argument, static_cast<int>(mode), static_cast<int>(wanted_mode));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckModeLetter(text);
  const std::int32_t handle = qv::ParseParentHandle(text);
  const std::int32_t wanted_handle = ReferenceParentHandle(text);
  if (handle != wanted_handle) Mismatch("ParseParentHandle", text, handle, wanted_handle);
  const unsigned long id = qv::ParseXWindowId(text);
  const unsigned long wanted_id = ReferenceXWindowId(text);
  if (id != wanted_id) {
    Mismatch("ParseXWindowId", text, static_cast<long long>(id), static_cast<long long>(wanted_id));
  }
  return 0;
}
