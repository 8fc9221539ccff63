#pragma once
// Typed text on its way to the wire.

#include <string>
#include <string_view>

namespace projector {

// One byte per character: characters up to U+00FF as that byte, anything
// above, and every malformed UTF-8 sequence, as '?'.
std::string wireBytesOf(std::string_view utf8);

}  // namespace projector
