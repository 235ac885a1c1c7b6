#pragma once
// X window ids as XScreenSaver passes them to its modules.

#include <string>

namespace qv {

// Decimal or 0x hexadecimal, within 32 bits, nothing else; 0 when the text is
// not such a number (0 is never a window).
unsigned long ParseXWindowId(const std::string& text);

}  // namespace qv
