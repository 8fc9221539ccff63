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
#include "panel/PortDevices.h"
#include "panel/PortSettingsFrame.h"
#include "panel/StartUp.h"
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

    // Start-up. The window shows once port 1 is open; when it cannot be
    // opened, a box offers another device or the end of the program.
    void Form_Load();
    // Ends the program as "END" does: the port closed, then the window; the
    // listeners are told why.
    void end(const std::string& reason);
    // Once the program has ended (it may, from the start-up's box, before
    // the event loop runs).
    bool ended() const { return ended_ || startUp_.gaveUp(); }
    // 1 when the program ended because its port could not be opened.
    int exitStatus() const { return startUp_.gaveUp() ? 1 : 0; }

    toolkit::Window& window() { return window_; }
    // For listeners beyond the window, such as a traffic log.
    projector::Port& port() { return port_; }
    // The window's exchange on it.
    projector::Link& link() { return link_; }
    // Which device each port number stands for, and why.
    const projector::DeviceChoice& devices() const { return choice_; }
    // Told the text of each warning box as it is shown.
    void onWarningShown(std::function<void(const std::string&)> observer);
    // Told the text of each start-up failure before its box shows.
    void onStartFailure(std::function<void(const std::string&)> observer);

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
    projector::Port port_;
    projector::Link link_;
    TraceDisplay trace_;
    PortSettingsFrame settings_;
    HoldRepeater repeater_;
    CommandButtons commands_;
    DirectEntry entry_;
    WindowHeights heights_;
    WarningBoxes warnings_;
    PortDevices ports_;
    DeviceMenu deviceMenu_;
    StartUp startUp_;
    bool ended_ = false;
};

}  // namespace panel
