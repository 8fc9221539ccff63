#pragma once
// The serial devices present on the machine, as the window's device menu and
// the start-up choice of devices see them.

#include <optional>
#include <string>
#include <vector>

namespace toolkit {

struct SerialDevice {
    std::string path;        // stable where the system gives one (/dev/serial/by-id/...)
    std::string kernelName;  // the device node itself (/dev/ttyUSB0)
    std::string description;
    std::string manufacturer;
    std::string serialNumber;
    int vendorId = 0;  // 0 where unknown
    int productId = 0;
    bool adapter = false;  // a USB or ACM serial adapter

    // Whether a device path, stable or the node itself, names this device.
    bool isAt(const std::string& where) const { return where == path || where == kernelName; }
};

class SerialDevices {
  public:
    virtual ~SerialDevices() = default;
    // Every serial device present: the adapters first, in the order of
    // their stable paths, then the others.
    virtual std::vector<SerialDevice> present() const = 0;
    // Why a path the operator typed cannot be a serial device, in words for
    // a person; nothing when it may be one.
    virtual std::optional<std::string> problemWith(const std::string& path) const = 0;
    // The built-in serial port a number falls back to (/dev/ttyS0 for 1).
    virtual std::string fallback(int number) const = 0;
};

}  // namespace toolkit
