#pragma once
// The press-and-hold buttons: key, code and the intervals each press sets.

#include <cstdint>
#include <span>
#include <string_view>

namespace panel {

struct HoldButton {
    std::string_view control;
    std::uint8_t key;  // the value held in RepeatKey
    std::string_view code;
    bool arrow;        // arrows leave Timer1 alone and pace Timer2/Timer4 by ArrowMode
    int repeat;        // Timer1
    int replyTimeout;  // Timer2
    int traceClear;    // Timer4
    bool dZoom;        // its release sets Timer1 to 5 and ArrowMode to 3
};

std::span<const HoldButton> holdButtonTable();

}  // namespace panel
