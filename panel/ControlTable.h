#pragma once
// Everything on the window at start: the window itself, its controls, the
// twelve lines around the cursor keys and the five timers.

#include <span>

#include "toolkit/Layout.h"

namespace panel {

extern const toolkit::WindowSpec kForm1;
std::span<const toolkit::ControlSpec> controlTable();
std::span<const toolkit::LineSpec> lineTable();
std::span<const toolkit::TimerSpec> timerTable();

}  // namespace panel
