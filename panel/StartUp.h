#pragma once
// The link's part of the window's load: port 1 opened, then "COM1" chosen in
// code. The window shows once port 1 is open. When it cannot be opened, a
// box says why and offers to choose another device for COM1, with the same
// menu as a right-click on it, or to end the program.

#include <functional>
#include <optional>
#include <string>

#include "link/DeviceChoice.h"
#include "link/LinkListener.h"
#include "link/Port.h"
#include "panel/DeviceMenu.h"
#include "panel/PortSettingsFrame.h"
#include "toolkit/Controls.h"

namespace panel {

inline constexpr const char* kChooseDevice = "Choose device…";
inline constexpr const char* kQuit = "Quit";

class StartUp : public projector::LinkListener {
  public:
    StartUp(projector::Port& port, const projector::DeviceChoice& choice, DeviceMenu& menu,
            PortSettingsFrame& frame, toolkit::Window& window, toolkit::MessageBox& box);

    void begin();
    // Told the text of each start-up failure before its box shows.
    void onFailure(std::function<void(const std::string&)> observer);
    // The operator ended the program from the failure's box.
    bool gaveUp() const { return gaveUp_; }

    void portEvent(const projector::PortEvent& event) override;

  private:
    void failed(const toolkit::Fault& fault);

    projector::Port& port_;
    const projector::DeviceChoice& choice_;
    DeviceMenu& menu_;
    PortSettingsFrame& frame_;
    toolkit::Window& window_;
    toolkit::MessageBox& box_;
    std::function<void(const std::string&)> failure_;
    std::optional<DeviceMenu::Pick> trying_;  // a device chosen from the failure's box
    bool gaveUp_ = false;
    // The program ended (a signal) while the failure's box or menu was open.
    bool ended_ = false;
};

}  // namespace panel
