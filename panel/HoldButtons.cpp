// Buttons that send at once when pressed and again on every tick of Timer1
// until released.

#include "panel/HoldButtons.h"

#include <array>

#include "panel/Form1.h"

namespace panel {

namespace {

// clang-format off
constexpr std::array kHoldButtons = std::to_array<HoldButton>({
    // control      key  code   arrow  Timer1 Timer2 Timer4 D.Zoom
    {"Command1",     1, "C09", false,  250,   200,   245,  false},  // VOL +
    {"Command2",     2, "C0A", false,  250,   200,   245,  false},  // VOL -
    {"Command15",    7, "C20", false,   50,    25,    25,  false},  // Brightness +
    {"Command35",    8, "C21", false,   50,    25,    25,  false},  // Brightness -
    {"Command48",   17, "C30", false,  250,   200,   245,  true},   // D.Zoom +
    {"Command49",   18, "C31", false,  250,   200,   245,  true},   // D.Zoom -
    {"Command50",   19, "C8E", false,  250,   200,   245,  false},  // Keystone +
    {"Command51",   20, "C8F", false,  250,   200,   245,  false},  // Keystone -
    {"Command5",     3, "C3C", true,     0,     0,     0,  false},  // up
    {"Command7",     4, "C3D", true,     0,     0,     0,  false},  // down
    {"Command9",     5, "C3B", true,     0,     0,     0,  false},  // left
    {"Command8",     6, "C3A", true,     0,     0,     0,  false},  // right
    {"Command6",    13, "C3F", false,  500,   200,   245,  false},  // SELECT
});
// clang-format on

const HoldButton* findByKey(std::uint8_t key) {
    for (const HoldButton& button : kHoldButtons) {
        if (button.key == key) return &button;
    }
    return nullptr;
}

}  // namespace

std::span<const HoldButton> holdButtonTable() {
    return kHoldButtons;
}

void Form1::holdPress(const HoldButton& button) {
    if (button.arrow) {
        if (ArrowMode == 1) {
            Timer2.setInterval(150);
            Timer4.setInterval(190);
        } else if (ArrowMode == 3) {
            Timer2.setInterval(5);
            Timer4.setInterval(5);
        }
        RepeatKey = button.key;
        link_.sendCode(std::string(button.code));
    } else {
        RepeatKey = button.key;
        link_.sendCode(std::string(button.code));
        Timer1.setInterval(button.repeat);
        Timer2.setInterval(button.replyTimeout);
        Timer4.setInterval(button.traceClear);
    }
    Timer1.setEnabled(true);
}

void Form1::Timer1_Timer() {
    if (RepeatKey == 0) return;
    if (const HoldButton* button = findByKey(RepeatKey)) link_.sendCode(std::string(button->code));
}

void Form1::holdRelease(const HoldButton& button) {
    RepeatKey = 0;
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    Timer4.setEnabled(true);
    Label11.setCaption("");
    Label12.setCaption("");
    Timer2.setInterval(500);
    Timer4.setInterval(1000);
    link_.clearRxBuffer();
    if (button.dZoom) {
        Timer1.setInterval(5);
        ArrowMode = 3;
    }
}

// No release will come once the pointer is gone, or once a failed transmit
// put up a box; the hold ends as if the operator had let go.
void Form1::endHold() {
    if (const HoldButton* held = findByKey(RepeatKey)) holdRelease(*held);
}

}  // namespace panel
