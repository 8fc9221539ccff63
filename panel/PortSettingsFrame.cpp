#include "panel/PortSettingsFrame.h"

namespace panel {

using Kind = projector::PortEvent::Kind;

PortSettingsFrame::PortSettingsFrame(projector::Port& port, const Controls& controls)
    : port_(port), c_(controls) {}

void PortSettingsFrame::Command33_Click() {
    c_.Frame8.setVisible(true);
    c_.Timer3.setEnabled(true);
}

// Settings auto-hide.
void PortSettingsFrame::Timer3_Timer() {
    if (heldOpen_) {
        hideWhenReleased_ = true;
    } else {
        hide();
    }
    c_.Timer3.setEnabled(false);
}

void PortSettingsFrame::Option1_Click() {
    if (!showingOnly_) port_.switchPort(1);
}

void PortSettingsFrame::Option2_Click() {
    if (!showingOnly_) port_.switchPort(2);
}

void PortSettingsFrame::Option9_Click() {
    port_.chooseSpeed(projector::kSettings19200);
}

void PortSettingsFrame::Option10_Click() {
    port_.chooseSpeed(projector::kSettings9600);
}

void PortSettingsFrame::restartAutoHide() {
    c_.Timer3.setEnabled(false);
    c_.Timer3.setEnabled(true);
}

toolkit::Option& PortSettingsFrame::portOption(int number) const {
    return number == 1 ? c_.Option1 : c_.Option2;
}

void PortSettingsFrame::switchTo(int number) {
    toolkit::Option& option = portOption(number);
    if (option.value()) {
        port_.switchPort(number);
    } else {
        option.setValue(true);  // its click runs the switch
    }
}

void PortSettingsFrame::showChosen(int number) {
    showingOnly_ = true;
    portOption(number).setValue(true);
    showingOnly_ = false;
}

void PortSettingsFrame::holdOpen(bool held) {
    heldOpen_ = held;
    if (held || !hideWhenReleased_) return;
    hideWhenReleased_ = false;
    hide();
}

void PortSettingsFrame::setToolTip(int number, const std::string& text) {
    portOption(number).setToolTip(text);
}

void PortSettingsFrame::portEvent(const projector::PortEvent& event) {
    if (event.kind == Kind::Switched || event.kind == Kind::SpeedChosen) hide();
}

// An option that had the focus would hand it on to whatever comes next in
// the Tab order, a button that sends something at the next Space; "COM",
// which opened the frame, takes it back.
void PortSettingsFrame::hide() {
    if (c_.Frame8.holdsFocus()) c_.Command33.takeFocus();
    c_.Frame8.setVisible(false);
}

}  // namespace panel
