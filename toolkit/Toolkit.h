#pragma once
// Makes the window and its controls from their specs. The toolkit owns what
// it makes; the references stay valid for the toolkit's lifetime.

#include "toolkit/Controls.h"
#include "toolkit/Layout.h"
#include "toolkit/SerialDevices.h"
#include "toolkit/SerialPort.h"
#include "toolkit/Settings.h"

namespace toolkit {

class Toolkit {
  public:
    virtual ~Toolkit() = default;
    virtual Window& createWindow(const WindowSpec& spec) = 0;
    virtual Frame& createFrame(const ControlSpec& spec) = 0;
    virtual Label& createLabel(const ControlSpec& spec) = 0;
    virtual Button& createButton(const ControlSpec& spec) = 0;
    virtual Option& createOption(const ControlSpec& spec) = 0;
    virtual TextBox& createTextBox(const ControlSpec& spec) = 0;
    virtual Image& createImage(const ControlSpec& spec) = 0;
    virtual void createLine(const LineSpec& spec) = 0;
    virtual Timer& createTimer(const TimerSpec& spec) = 0;
    // Called once every control exists: sets the focus order from the specs'
    // tab places and gives the focus to the named control.
    virtual void finishLayout(std::string_view focusName) = 0;
    virtual Screen& screen() = 0;
    virtual MessageBox& messageBox() = 0;
    virtual PopUpMenu& popUpMenu() = 0;
    virtual PathPrompt& pathPrompt() = 0;
    virtual SerialPort& serialPort() = 0;
    virtual SerialDevices& serialDevices() = 0;
    virtual Settings& settings() = 0;
};

}  // namespace toolkit
