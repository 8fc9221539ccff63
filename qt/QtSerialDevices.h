#pragma once
// The serial devices present, from QSerialPortInfo, each under its stable
// /dev/serial/by-id path where the system makes one.

#include "toolkit/SerialDevices.h"

namespace toolkit::qt {

// The built-in serial port a number stands for when nothing else is chosen.
std::string builtInPort(int number);

class QtSerialDevices : public SerialDevices {
  public:
    std::vector<SerialDevice> present() const override;
    std::vector<std::string> adapters() const override;
    std::optional<Fault> problemWith(const std::string& device) const override;
    std::string fallback(int number) const override;
};

}  // namespace toolkit::qt
