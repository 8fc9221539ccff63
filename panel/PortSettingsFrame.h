#pragma once
// The port settings: "COM" shows Frame8 with the port options COM1/COM2 and
// the speed options 19200/9600; a port or speed chosen there goes to the link;
// Timer3 hides the frame again after 5000 ms.

#include "link/LinkListener.h"
#include "link/Port.h"
#include "toolkit/Controls.h"

namespace panel {

class PortSettingsFrame : public projector::LinkListener {
  public:
    struct Controls {
        toolkit::Button& Command33;  // "COM"
        toolkit::Frame& Frame8;
        toolkit::Timer& Timer3;
        toolkit::Option& Option1;   // "COM1"
        toolkit::Option& Option2;   // "COM2"
        toolkit::Option& Option9;   // "19200"
        toolkit::Option& Option10;  // "9600"
    };
    PortSettingsFrame(projector::Port& port, const Controls& controls);

    void Command33_Click();
    void Timer3_Timer();
    void Option1_Click();
    void Option2_Click();
    void Option9_Click();
    void Option10_Click();

    // The data-display toggle restarts the auto-hide countdown.
    void restartAutoHide();
    // The port switch to a number, as a click on its option runs it; at
    // start-up, "COM1" chosen in code.
    void switchTo(int number);
    // Shows the number chosen without running a switch: the link was put
    // back as it was.
    void showChosen(int number);
    // While the device menu or its prompt is open the frame stays under the
    // operator's hand; if Timer3 fired meanwhile, it hides once they close.
    void holdOpen(bool held);
    void setToolTip(int number, const std::string& text);

    // A port switch that succeeds and any speed applied hide the frame.
    void portEvent(const projector::PortEvent& event) override;

  private:
    toolkit::Option& portOption(int number) const;
    void hide();

    projector::Port& port_;
    Controls c_;
    bool heldOpen_ = false;
    bool hideWhenReleased_ = false;
    bool showingOnly_ = false;
};

}  // namespace panel
