#include "panel/WindowHeights.h"

namespace panel {

namespace {

constexpr int kTall = 6000;  // the toggle shrinks a window this tall or taller

constexpr const char* kShowData = "データを表示する";
constexpr const char* kHideData = "データを表示しない";
constexpr const char* kClose = "CLOSE";

}  // namespace

WindowHeights::WindowHeights(toolkit::Window& window, toolkit::Button& Command34,
                             PortSettingsFrame& settings)
    : window_(window), Command34(Command34), settings_(settings) {}

// The current height alone decides; the caption is not consulted.
void WindowHeights::Command34_Click() {
    ExpandFlag = 0;
    if (static_cast<float>(window_.height()) >= kTall) {
        window_.setHeight(kHeightStart);
        Command34.setCaption(kShowData);
    } else {
        window_.setHeight(kHeightData);
        Command34.setCaption(kHideData);
    }
    settings_.restartAutoHide();
}

void WindowHeights::Form_KeyDown(int keyCode, int shift) {
    if (keyCode != kKeyJ || (shift & 7) != toolkit::CtrlMask) return;
    window_.setHeight(kHeightExpanded);
    ExpandFlag = 1;
    Command34.setCaption(kClose);
    Command34.setVisible(true);
}

void WindowHeights::Image1_DblClick() {
    if (ExpandFlag != 1) return;
    window_.setHeight(kHeightFull);
    Command34.setCaption(kClose);
    Command34.setVisible(true);
}

}  // namespace panel
