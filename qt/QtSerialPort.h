#pragma once
// The serial component on QSerialPort. Each port number stands for the
// device set for it, else the built-in port (/dev/ttyS{n-1}, COMn on Windows).

#include <QSerialPort>
#include <map>

#include "toolkit/SerialPort.h"
#include "toolkit/SerialSettings.h"

namespace toolkit::qt {

class QtSerialPort : public SerialPort {
  public:
    QtSerialPort();

    void setCommPort(int number) override;
    int commPort() const override { return number_; }
    void setDevice(int number, const std::string& path) override { devices_[number] = path; }
    std::string device() const override { return deviceOf(number_); }
    void setSettings(const std::string& text) override;
    std::string settings() const override { return settingsText_; }
    void setPortOpen(bool open) override;
    bool portOpen() const override { return port_.isOpen(); }
    bool devicePresent() const override;
    void output(const std::string& bytes) override;
    std::string input() override;
    int commEvent() const override { return commEvent_; }
    void onComm(std::function<void()> handler) override { handler_ = std::move(handler); }

    // The device a port number stands for.
    std::string deviceOf(int number) const;

  private:
    bool apply(const SerialSettings& settings);
    void failed(QSerialPort::SerialPortError error);
    std::string describeOpenFailure() const;

    std::map<int, std::string> devices_;
    QSerialPort port_;
    int number_ = 1;
    std::string settingsText_ = "9600,N,8,1";
    SerialSettings settings_;
    int commEvent_ = CommEventNone;
    std::string lost_;  // why an open port was closed under us
    std::function<void()> handler_;
};

}  // namespace toolkit::qt
