#pragma once
// Makes the window and its controls on Qt Widgets, and owns them: the window
// widget owns every child widget, the toolkit owns the control objects that
// drive them.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "qt/FormWidget.h"
#include "qt/QtControls.h"
#include "qt/QtDialogs.h"
#include "qt/QtSerialDevices.h"
#include "qt/QtSerialPort.h"
#include "qt/QtSettings.h"
#include "qt/QtTimer.h"
#include "toolkit/Toolkit.h"

namespace toolkit::qt {

class QtToolkit : public Toolkit {
  public:
    QtToolkit();
    ~QtToolkit() override;

    Window& createWindow(const WindowSpec& spec) override;
    Frame& createFrame(const ControlSpec& spec) override;
    Label& createLabel(const ControlSpec& spec) override;
    Button& createButton(const ControlSpec& spec) override;
    Option& createOption(const ControlSpec& spec) override;
    TextBox& createTextBox(const ControlSpec& spec) override;
    Image& createImage(const ControlSpec& spec) override;
    void createLine(const LineSpec& spec) override;
    Timer& createTimer(const TimerSpec& spec) override;
    void finishLayout(std::string_view focusName) override;
    Screen& screen() override { return screen_; }
    MessageBox& messageBox() override { return *messageBox_; }
    PopUpMenu& popUpMenu() override { return *popUpMenu_; }
    PathPrompt& pathPrompt() override { return *pathPrompt_; }
    SerialPort& serialPort() override { return serial_; }
    SerialDevices& serialDevices() override { return devices_; }
    Settings& settings() override { return settings_; }

  private:
    // Names the widget, puts it in its container at its place and size, and
    // notes its place in the focus order.
    void place(QWidget* widget, const ControlSpec& spec);

    // Declared first, so destroyed last: the controls below point into it.
    std::unique_ptr<FormWidget> form_;
    Font windowFont_;
    std::map<std::string, QWidget*, std::less<>> widgets_;
    std::vector<std::pair<int, QWidget*>> focusOrder_;

    std::vector<std::unique_ptr<QtFrame>> frames_;
    std::vector<std::unique_ptr<QtLabel>> labels_;
    std::vector<std::unique_ptr<QtButton>> buttons_;
    std::vector<std::unique_ptr<QtOption>> options_;
    std::vector<std::unique_ptr<QtTextBox>> textBoxes_;
    std::vector<std::unique_ptr<QtImage>> images_;
    std::vector<std::unique_ptr<QtTimer>> timers_;
    QtScreen screen_;
    std::unique_ptr<QtMessageBox> messageBox_;
    std::unique_ptr<QtPopUpMenu> popUpMenu_;
    std::unique_ptr<QtPathPrompt> pathPrompt_;
    QtSerialPort serial_;
    QtSerialDevices devices_;
    QtSettings settings_;
};

}  // namespace toolkit::qt
