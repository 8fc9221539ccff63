#pragma once
// Choosing the device behind "COM1" or "COM2" from the window: a right-click
// on the option opens a menu of the serial devices present, "Other device…"
// for a path the operator types, and "Default". A choice is kept per user and,
// when it concerns the port in use or the port is closed, runs the port
// switch on it.

#include <string>

#include "link/DeviceChoice.h"
#include "link/Link.h"
#include "panel/PortSettingsFrame.h"
#include "panel/WarningBoxes.h"
#include "toolkit/Controls.h"
#include "toolkit/SerialDevices.h"
#include "toolkit/Settings.h"

namespace panel {

class DeviceMenu {
  public:
    struct Services {
        toolkit::SerialDevices& devices;
        toolkit::Settings& settings;
        toolkit::PopUpMenu& menu;
        toolkit::PathPrompt& prompt;
    };
    DeviceMenu(projector::Link& link, projector::DeviceChoice& choice, const Services& services,
               PortSettingsFrame& frame, WarningBoxes& warnings);

    // The right-click on "COM1" (1) or "COM2" (2).
    void open(int number);
    // Hands each number's device to the link and names it in its option's
    // tooltip.
    void applyChoices();

  private:
    void choose(int number, const std::string& path, bool toDefault);
    // Runs the switch where the choice concerns the port in use or the port
    // is closed; false when that switch failed.
    bool switchIfConcerned(int number);
    using Present = projector::DeviceChoice::Present;
    std::string toolTip(int number, const Present& present) const;

    projector::Link& link_;
    projector::DeviceChoice& choice_;
    Services s_;
    PortSettingsFrame& frame_;
    WarningBoxes& warnings_;
};

}  // namespace panel
