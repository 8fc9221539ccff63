#pragma once
// Every sentence the panel says about devices, ports and faults: the warning
// boxes, the start-up failure, standard error and the traffic log all take
// their words from here. The transports only say what kind of fault it was.

#include <string>
#include <string_view>

#include "link/DeviceChoice.h"
#include "toolkit/Fault.h"

namespace panel {

// The forms a device server's address takes, for any message about one.
inline constexpr std::string_view kAddressForms =
    "Write tcp://HOST:PORT (raw TCP, also socket://HOST:PORT) or rfc2217://HOST:PORT (telnet "
    "with COM port control), for example tcp://192.168.1.50:4001.";

// A device as people read it: a path too long to take in is shortened in
// its middle, so that a box stays the size of a box.
std::string shown(std::string_view device);

// What went wrong: for a failed open, a failed switch or speed, a loss, a
// notice.
std::string faultText(const toolkit::Fault& fault);

// Why a line was not sent.
std::string notSentText(const toolkit::Fault& fault);

// The window's box about a lost device (sending: a line found it lost), with
// what the window does about it.
std::string lossWarning(const toolkit::Fault& fault, bool sending);

// Why the panel cannot start, and what to do about it, in the words that fit
// where COM1's device came from.
std::string startUpFailure(const toolkit::Fault& fault,
                           const projector::DeviceChoice::Device& com1);

// A choice from the window that holds for this run only.
std::string unkeptChoice(int number, const std::string& device, const std::string& location);

}  // namespace panel
