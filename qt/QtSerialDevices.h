#pragma once
// The serial devices present, from QSerialPortInfo, each under its stable
// /dev/serial/by-id path where the system makes one.

#include <QString>
#include <QStringList>
#include <map>
#include <string>
#include <vector>

#include "toolkit/SerialDevices.h"

namespace toolkit::qt {

// The built-in serial port a number stands for when nothing else is chosen.
std::string builtInPort(int number);

// The USB and ACM adapters in the order COM1, COM2 take them: by their stable
// names (node -> /dev/serial/by-id link), an adapter with none by its node,
// from the kernel's terminals (ttyUSB0, ...).
std::vector<std::string> adapterOrder(const std::map<QString, QString>& stable,
                                      const QStringList& terminals);

class QtSerialDevices : public SerialDevices {
  public:
    std::vector<SerialDevice> present() const override;
    std::vector<std::string> adapters() const override;
    std::optional<Fault> problemWith(const std::string& device) const override;
    std::string fallback(int number) const override;
};

}  // namespace toolkit::qt
