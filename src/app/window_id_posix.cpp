#include "app/window_id_posix.h"

namespace qv {

unsigned long ParseXWindowId(const std::string& text) {
  std::size_t i = 0;
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    i = 2;
  }
  if (i >= text.size()) return 0;
  unsigned long long value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return 0;
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    // X resource ids are 29 bits; anything past 32 is not one.
    if (value > 0xFFFFFFFFull) return 0;
  }
  return static_cast<unsigned long>(value);
}

}  // namespace qv
