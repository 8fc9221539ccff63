#pragma once
// How much of the panel the window shows: the data-display toggle Command34
// switches between the start height and one that shows the trace; Ctrl+J
// enlarges further and arms a double-click on the picture Image1 that shows
// everything.

#include <cstdint>

#include "panel/PortSettingsFrame.h"
#include "toolkit/Controls.h"

namespace panel {

// The virtual key code of J: Ctrl+J shows the trace.
inline constexpr int kKeyJ = 74;

// Outer window heights in twips.
inline constexpr int kHeightStart = 5350;
inline constexpr int kHeightData = 6645;
inline constexpr int kHeightExpanded = 7200;
inline constexpr int kHeightFull = 9100;

class WindowHeights {
  public:
    WindowHeights(toolkit::Window& window, toolkit::Button& Command34, PortSettingsFrame& settings);

    void Command34_Click();  // the data-display toggle
    void Form_KeyDown(int keyCode, int shift);
    void Image1_DblClick();

  private:
    toolkit::Window& window_;
    toolkit::Button& Command34;
    PortSettingsFrame& settings_;
    std::int16_t ExpandFlag = 0;  // 1 while a double-click on the picture may enlarge
};

}  // namespace panel
