#pragma once
// What COM1 and COM2 stand for on the window: each number's device handed to
// the link at start, and named in its option's tooltip once the options are
// shown (finding the devices present takes the system a while, so start-up
// does not wait for it).

#include <string>

#include "link/DeviceChoice.h"
#include "link/Port.h"
#include "panel/PortSettingsFrame.h"
#include "toolkit/SerialDevices.h"

namespace panel {

class PortDevices {
  public:
    PortDevices(projector::Port& port, const projector::DeviceChoice& choice,
                const toolkit::SerialDevices& devices, PortSettingsFrame& frame);

    // Hands each number's device to the link.
    void apply();
    // Names each number's device in its option's tooltip.
    void showToolTips();
    void showToolTip(int number);

    // "COM1: /dev/serial/by-id/usb-FTDI_A-if00, USB UART"
    std::string toolTip(int number, const projector::DeviceChoice::Present& present) const;

  private:
    projector::Port& port_;
    const projector::DeviceChoice& choice_;
    const toolkit::SerialDevices& devices_;
    PortSettingsFrame& frame_;
};

}  // namespace panel
