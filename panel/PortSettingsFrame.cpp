#include "panel/PortSettingsFrame.h"

namespace panel {

using Kind = projector::PortEvent::Kind;

PortSettingsFrame::PortSettingsFrame(projector::Link& link, const Controls& controls)
    : link_(link), c_(controls) {}

void PortSettingsFrame::Command33_Click() {
    c_.Frame8.setVisible(true);
    c_.Timer3.setEnabled(true);
}

// Settings auto-hide.
void PortSettingsFrame::Timer3_Timer() {
    c_.Frame8.setVisible(false);
    c_.Timer3.setEnabled(false);
}

void PortSettingsFrame::Option1_Click() {
    link_.switchPort(1);
}

void PortSettingsFrame::Option2_Click() {
    link_.switchPort(2);
}

void PortSettingsFrame::Option9_Click() {
    link_.chooseSpeed(projector::kSettings19200);
}

void PortSettingsFrame::Option10_Click() {
    link_.chooseSpeed(projector::kSettings9600);
}

void PortSettingsFrame::chooseComOneAtStart() {
    c_.Option1.setValue(true);
}

void PortSettingsFrame::restartAutoHide() {
    c_.Timer3.setEnabled(false);
    c_.Timer3.setEnabled(true);
}

void PortSettingsFrame::portEvent(const projector::PortEvent& event) {
    if (event.kind == Kind::Switched || event.kind == Kind::SpeedChosen) {
        c_.Frame8.setVisible(false);
    }
}

}  // namespace panel
