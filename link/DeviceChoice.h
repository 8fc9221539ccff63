#pragma once
// Which device each port number stands for. First match wins: the device
// given for it on this run's command line; the device the operator mapped to
// it from the window, kept per user; for COM1 the first USB or ACM serial
// adapter present and for COM2 the second, by their stable paths; the
// built-in serial port (/dev/ttyS0, /dev/ttyS1).

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/SerialDevices.h"
#include "toolkit/Settings.h"

namespace projector {

class DeviceChoice {
  public:
    enum class Source { CommandLine, Mapped, Adapter, BuiltIn };
    struct Device {
        std::string path;
        Source source;
    };

    DeviceChoice(toolkit::Settings& settings, const toolkit::SerialDevices& devices,
                 std::map<int, std::string> commandLine);

    using Present = std::vector<toolkit::SerialDevice>;

    Device deviceFor(int number) const;
    // What the number stands for without a choice from the window or the
    // command line: an adapter, else the built-in port.
    Device defaultFor(int number) const;
    // The operator's choice from the window: it replaces this run's command
    // line for that number and is kept for the next runs. False when it could
    // not be kept; it holds for this run all the same.
    bool map(int number, const std::string& path);
    // "Default": forgets the operator's choice and this run's command line.
    bool reset(int number);

  private:
    static std::string key(int number);
    // The command line's or the window's choice, if there is one.
    std::optional<Device> chosenFor(int number) const;

    toolkit::Settings& settings_;
    const toolkit::SerialDevices& devices_;
    std::map<int, std::string> commandLine_;
    // A choice from the window that could not be kept (nothing: "Default").
    std::map<int, std::optional<std::string>> unkept_;
};

}  // namespace projector
