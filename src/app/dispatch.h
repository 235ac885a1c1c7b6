#pragma once
// What the screen-saver host asks for, read from the command line.

#include <cstdint>
#include <optional>
#include <string_view>

namespace qv {

enum class SaverMode { kFullScreen, kSettings, kPreview, kChangePassword };

// The second character of the first argument, ASCII a..z upper-cased; none
// when the argument is shorter than two characters.
std::optional<char> ModeLetter(std::string_view first_argument);
SaverMode ModeFromArgument(std::string_view first_argument);

// A window handle as a signed 32-bit integer: optional leading blanks, an
// optional sign, then decimal digits, or hexadecimal digits after "$", "x",
// "X", "0x" or "0X", and nothing after; decimal within the signed range,
// hexadecimal within 32 bits. 0 for anything else.
std::int32_t ParseParentHandle(std::string_view text);

}  // namespace qv
