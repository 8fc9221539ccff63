#pragma once
// The serial devices present on the machine, as the window's device menu and
// the start-up choice of devices see them.

#include <optional>
#include <string>
#include <vector>

#include "toolkit/Fault.h"

namespace toolkit {

struct SerialDevice {
    std::string path;        // stable where the system gives one (/dev/serial/by-id/...)
    std::string kernelName;  // the device node itself (/dev/ttyUSB0)
    std::string description;
    std::string manufacturer;
    std::string serialNumber;
    bool adapter = false;  // a USB or ACM serial adapter

    // Whether a device path, stable or the node itself, names this device.
    bool isAt(const std::string& where) const { return where == path || where == kernelName; }
};

class SerialDevices {
  public:
    virtual ~SerialDevices() = default;
    // Every serial device present: the adapters first, in the order of
    // their stable paths, then the others. Takes the system a while.
    virtual std::vector<SerialDevice> present() const = 0;
    // The USB and ACM serial adapters present, by their stable paths where
    // the system makes them, in the order of those paths: quick, from the
    // device folders alone.
    virtual std::vector<std::string> adapters() const = 0;
    // Why a device the operator typed (a path, or a device server's
    // address) cannot be used; nothing when it may be.
    virtual std::optional<Fault> problemWith(const std::string& device) const = 0;
    // The built-in serial port a number falls back to (/dev/ttyS0 for 1).
    virtual std::string fallback(int number) const = 0;
};

}  // namespace toolkit
