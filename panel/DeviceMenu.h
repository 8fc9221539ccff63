#pragma once
// Choosing the device behind "COM1" or "COM2" from the window: a right-click
// on the option opens a menu of the serial devices present, "Other device…"
// for a path or a device server's address the operator types, and "Default".
// A choice is kept per user and, when it concerns the port in use or the
// port is closed, runs the port switch on it; a choice that cannot be opened
// leaves the link exactly as it was.

#include <optional>
#include <string>

#include "link/DeviceChoice.h"
#include "link/LinkListener.h"
#include "link/Port.h"
#include "panel/PortDevices.h"
#include "panel/PortSettingsFrame.h"
#include "panel/WarningBoxes.h"
#include "toolkit/Controls.h"
#include "toolkit/SerialDevices.h"
#include "toolkit/Settings.h"

namespace panel {

class DeviceMenu : public projector::LinkListener {
  public:
    struct Services {
        toolkit::SerialDevices& devices;
        toolkit::Settings& settings;
        toolkit::PopUpMenu& menu;
        toolkit::PathPrompt& prompt;
    };
    // A device picked for a number; toDefault: "Default" was picked.
    struct Pick {
        std::string device;
        bool toDefault = false;
    };
    DeviceMenu(projector::Port& port, projector::DeviceChoice& choice, const Services& services,
               PortSettingsFrame& frame, PortDevices& ports, WarningBoxes& warnings);

    // The right-click on "COM1" (1) or "COM2" (2).
    void open(int number);
    // The menu and, for "Other device…", the prompt, which comes back with
    // the text kept when what was typed cannot be used. Nothing when the
    // operator dismissed them.
    std::optional<Pick> pick(int number);
    // The pick is in use: kept for the next runs, named in the tooltip.
    void keep(int number, const Pick& pick);

    // A choice's switch succeeded or failed.
    void portEvent(const projector::PortEvent& event) override;

  private:
    void choose(int number, const Pick& pick);

    // A choice whose switch is under way, and the link before it.
    struct Attempt {
        int number;
        Pick pick;
        std::string deviceBefore;
        int portBefore;
        bool openBefore;
    };

    projector::Port& port_;
    projector::DeviceChoice& choice_;
    Services s_;
    PortSettingsFrame& frame_;
    PortDevices& ports_;
    WarningBoxes& warnings_;
    std::optional<Attempt> attempt_;
};

}  // namespace panel
