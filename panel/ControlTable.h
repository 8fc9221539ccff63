#pragma once
// Everything on the window at start: the window itself, its controls, the
// twelve lines around the cursor keys and the five timers.

#include <span>
#include <string_view>

#include "toolkit/Layout.h"

namespace panel {

extern const toolkit::WindowSpec kForm1;
std::span<const toolkit::ControlSpec> controlTable();
std::span<const toolkit::LineSpec> lineTable();
std::span<const toolkit::TimerSpec> timerTable();

// What a button does, for a screen reader, where its caption says little
// ("+", "ON", "RGB"). Visible text does not change.
struct Description {
    const char* control;
    std::string_view text;
};
std::span<const Description> descriptionTable();

}  // namespace panel
