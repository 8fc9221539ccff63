// The hidden ways to bring the lower part of the panel into view.

#include "panel/Form1.h"

namespace panel {

namespace {
constexpr int kKeyJ = 74;
}  // namespace

void Form1::Form_KeyDown(int keyCode, int shift) {
    if (keyCode != kKeyJ || (shift & 7) != toolkit::CtrlMask) return;
    window_.setHeight(kHeightExpanded);
    ExpandFlag = 1;
    Command34.setCaption("CLOSE");
    Command34.setVisible(true);
}

void Form1::Image1_DblClick() {
    if (ExpandFlag != 1) return;
    window_.setHeight(kHeightFull);
    Command34.setCaption("CLOSE");
    Command34.setVisible(true);
}

}  // namespace panel
