#pragma once
// A serial line on QSerialPort: a device node, a USB adapter's stable path,
// a pseudo-terminal. Before it opens, it asks the system why it might not.

#include <QSerialPort>
#include <string>

#include "qt/Line.h"

namespace toolkit::qt {

class SerialLine : public Line {
  public:
    SerialLine(std::string path, Events events);

    bool open(const SerialSettings& settings, const std::string& text) override;
    void apply(const SerialSettings& settings, const std::string& text) override;
    void write(const std::string& bytes) override;
    std::string readAll() override;

  private:
    bool configure(const SerialSettings& settings);
    Fault fault(Fault::Kind kind, std::string detail = {}) const;
    void failed(QSerialPort::SerialPortError error);

    std::string path_;
    Events events_;
    QSerialPort port_;
};

}  // namespace toolkit::qt
