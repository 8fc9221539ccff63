#pragma once
// The readable one-line rendering of sent and received bytes.

#include <string>
#include <string_view>

namespace projector {

// A leading blank, then per byte: "ACK " for 6, "&" for 20, "CR " for 13,
// "LF " for 10, "? " for any other control byte and for everything above
// 'z', the character and a blank for ' ' to 'z'. Printable ASCII only.
std::string traceOf(std::string_view bytes);

}  // namespace projector
