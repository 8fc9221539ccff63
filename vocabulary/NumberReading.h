#pragma once
// Reading the number at the start of a text, and rounding it into a 16-bit
// integer, as the pressure line needs.

#include <cstdint>
#include <optional>
#include <string_view>

namespace projector {

// Spaces, tabs and line feeds are ignored wherever they stand. Then either
// "&H" and hexadecimal digits, "&O" and octal digits, or an optional sign,
// digits, an optional decimal point and digits and an optional exponent (E
// or D, optional sign, digits). Reading stops at the first character that
// fits none of this; a text with no number reads as 0.
double readNumber(std::string_view text);

// Nearest integer, halves to the even neighbour; nothing when the result
// lies outside -32768..32767.
std::optional<std::int16_t> roundToInt16(double value);

}  // namespace projector
