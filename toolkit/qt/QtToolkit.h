#pragma once
// The toolkit operations on Qt Widgets.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Toolkit.h"
#include "toolkit/qt/QtSerialPort.h"

class QIcon;
class QWidget;

namespace toolkit::qt {

QIcon applicationIcon();

class FormWidget;

class QtToolkit : public Toolkit {
  public:
    explicit QtToolkit(std::map<int, std::string> devices);
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
    Screen& screen() override;
    MessageBox& messageBox() override;
    SerialPort& serialPort() override { return serial_; }

    // The widget made for a control, by name (for end-to-end tests).
    QWidget* widget(std::string_view name) const;
    QWidget* windowWidget() const;

  private:
    template <typename T>
    T& keep(std::unique_ptr<T> made);
    QWidget* place(QWidget* widget, const ControlSpec& spec);

    QtSerialPort serial_;
    FormWidget* form_ = nullptr;  // owns every widget
    std::unique_ptr<Screen> screen_;
    std::unique_ptr<MessageBox> messageBox_;
    std::vector<std::shared_ptr<void>> kept_;
    std::map<std::string, QWidget*, std::less<>> widgets_;
    std::vector<std::pair<int, QWidget*>> focusOrder_;
    Font windowFont_;
};

}  // namespace toolkit::qt
