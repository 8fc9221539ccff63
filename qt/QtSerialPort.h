#pragma once
// The serial component on Qt. Each port number stands for the device set for
// it, else the built-in port (/dev/ttyS{n-1}); a device is a serial line
// (QSerialPort) or, for tcp:// and rfc2217:// addresses, a device server on
// the network (QTcpSocket).

#include <QObject>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "qt/Line.h"
#include "toolkit/SerialPort.h"
#include "toolkit/SerialSettings.h"

namespace toolkit::qt {

class QtSerialPort : public SerialPort {
  public:
    QtSerialPort();
    ~QtSerialPort() override;

    void setCommPort(int number) override;
    int commPort() const override { return number_; }
    void setDevice(int number, const std::string& path) override { devices_[number] = path; }
    std::string device() const override;
    void setSettings(const std::string& text) override;
    std::string settings() const override { return settingsText_; }
    void setPortOpen(bool open) override;
    bool portOpen() const override { return line_ && !opening_; }
    bool opening() const override { return line_ && opening_; }
    bool devicePresent() const override;
    void output(const std::string& bytes) override;
    std::string input() override;
    CommEvent commEvent() const override { return commEvent_; }
    Fault fault() const override { return fault_; }
    void onComm(std::function<void()> handler) override { handler_ = std::move(handler); }

    // The device a port number stands for.
    std::string deviceOf(int number) const;

  private:
    std::unique_ptr<Line> makeLine(const std::string& device);
    Fault numbered(Fault fault) const;
    // Raises an event for the line of this generation, from the event loop.
    void raiseLater(std::uint64_t generation, CommEvent event, Fault fault = {});
    void lostLine(std::uint64_t generation, Fault fault);
    void raise(CommEvent event, Fault fault = {});

    std::map<int, std::string> devices_;
    int number_ = 1;
    std::string settingsText_ = "9600,N,8,1";
    SerialSettings settings_;
    std::unique_ptr<Line> line_;
    // A line that was lost inside its own call waits here to be dropped.
    std::unique_ptr<Line> retired_;
    std::string openDevice_;
    bool opening_ = false;
    std::uint64_t generation_ = 0;  // one per line, so that a dropped line's reports are dropped
    CommEvent commEvent_ = CommEvent::None;
    Fault fault_;
    // Why an open port was closed under us: what a send is told.
    std::optional<Fault> lost_;
    std::function<void()> handler_;
    std::set<std::tuple<std::string, int, std::string>> noticed_;
    QObject context_;
};

}  // namespace toolkit::qt
