#include "panel/HoldRepeater.h"

#include <array>

#include "panel/ControlNames.h"
#include "panel/Pacing.h"

namespace panel {

namespace {

using namespace names;

// clang-format off
constexpr std::array kHoldButtons = std::to_array<HoldButton>({
    // control      key  arrow  Timer1 Timer2 Timer4 zoom   command
    {VolumeUp,        1, false,   250,   200,   245, false, "volume-up"},
    {VolumeDown,      2, false,   250,   200,   245, false, "volume-down"},
    {BrightnessUp,    7, false,    50,    25,    25, false, "brightness-up"},
    {BrightnessDown,  8, false,    50,    25,    25, false, "brightness-down"},
    {ZoomUp,         17, false,   250,   200,   245, true,  "zoom-in"},
    {ZoomDown,       18, false,   250,   200,   245, true,  "zoom-out"},
    {KeystoneUp,     19, false,   250,   200,   245, false, "keystone-up"},
    {KeystoneDown,   20, false,   250,   200,   245, false, "keystone-down"},
    {CursorUp,        3, true,      0,     0,     0, false, "cursor-up"},
    {CursorDown,      4, true,      0,     0,     0, false, "cursor-down"},
    {CursorLeft,      5, true,      0,     0,     0, false, "cursor-left"},
    {CursorRight,     6, true,      0,     0,     0, false, "cursor-right"},
    {Select,         13, false,   500,   200,   245, false, "cursor-select"},
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

HoldRepeater::HoldRepeater(projector::Link& link, toolkit::Timer& Timer1, TraceDisplay& trace)
    : link_(link), Timer1(Timer1), trace_(trace) {}

void HoldRepeater::press(const HoldButton& button) {
    if (button.arrow) {
        if (ArrowMode == ArrowPace::Menu) {
            pace(link_, kMenuArrowPacing);
        } else if (ArrowMode == ArrowPace::Zoom) {
            pace(link_, kZoomArrowPacing);
        }
        RepeatKey = button.key;
        if (!link_.send(button.code())) return;
    } else {
        RepeatKey = button.key;
        if (!link_.send(button.code())) return;
        Timer1.setInterval(button.repeat);
        link_.setPacing(button.replyTimeout, button.traceClear);
    }
    Timer1.setEnabled(true);
}

void HoldRepeater::Timer1_Timer() {
    if (RepeatKey == 0) return;
    if (const HoldButton* button = findByKey(RepeatKey)) link_.send(button->code());
}

void HoldRepeater::release(const HoldButton& button) {
    RepeatKey = 0;
    Timer1.setEnabled(false);
    link_.dropPendingReply();
    trace_.clearSentAndReceived();
    pace(link_, kDesignPacing);
    if (button.zoom) {
        Timer1.setInterval(kZoomArrowRepeatMs);
        ArrowMode = ArrowPace::Zoom;
    }
}

void HoldRepeater::paceArrowsForMenu() {
    Timer1.setInterval(kDesignRepeatMs);
    ArrowMode = ArrowPace::Menu;
}

void HoldRepeater::endHold() {
    if (const HoldButton* held = findByKey(RepeatKey)) release(*held);
}

// A failure is shown in a modal box: the repetition must stop before it is,
// or it would go on under the box.
void HoldRepeater::sendFailed(const std::string& /*line*/, const toolkit::Fault& /*fault*/) {
    endHold();
}

void HoldRepeater::portEvent(const projector::PortEvent& event) {
    if (event.kind == projector::PortEvent::Kind::Lost) endHold();
}

}  // namespace panel
