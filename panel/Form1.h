#pragma once
// The one window: built from the control table, it makes the parts that own
// the controls, connects them to the projector link and routes every event of
// every control to its part's handler.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "link/DeviceChoice.h"
#include "link/Link.h"
#include "panel/CommandButtons.h"
#include "panel/ControlRegistry.h"
#include "panel/DeviceMenu.h"
#include "panel/DirectEntry.h"
#include "panel/HoldRepeater.h"
#include "panel/PortSettingsFrame.h"
#include "panel/TraceDisplay.h"
#include "panel/WarningBoxes.h"
#include "panel/WindowHeights.h"
#include "toolkit/Toolkit.h"

namespace panel {

class Form1 {
  public:
    // commandLineDevices: the devices given for port numbers on this run's
    // command line. listeners: more listeners on the link (a traffic log),
    // told of every event before a warning box shows it. Throws TableError
    // when a table row names a control that is not on the window, or one of
    // another kind.
    explicit Form1(toolkit::Toolkit& toolkit, std::map<int, std::string> commandLineDevices = {},
                   const std::vector<projector::LinkListener*>& listeners = {});
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Start-up. Throws toolkit::SerialError when port 1 cannot be opened;
    // the window must then not be shown.
    void Form_Load();

    toolkit::Window& window() { return window_; }
    // For listeners beyond the window, such as a traffic log.
    projector::Link& link() { return link_; }
    // Which device each port number stands for, and why.
    const projector::DeviceChoice& devices() const { return choice_; }
    // Told the text of each warning box as it is shown.
    void onWarningShown(std::function<void(const std::string&)> observer);

  private:
    toolkit::Window& build();
    void route();
    // Once "END" has run, no handler does.
    toolkit::Handler guarded(toolkit::Handler handler);
    void Command16_Click();  // "END"

    toolkit::Toolkit& toolkit_;
    ControlRegistry controls_;
    toolkit::Window& window_;
    projector::DeviceChoice choice_;
    projector::Link link_;
    TraceDisplay trace_;
    PortSettingsFrame settings_;
    HoldRepeater repeater_;
    CommandButtons commands_;
    DirectEntry entry_;
    WindowHeights heights_;
    WarningBoxes warnings_;
    DeviceMenu deviceMenu_;
    bool ended_ = false;
};

}  // namespace panel
