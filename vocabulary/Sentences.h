#pragma once
// Every sentence the programs say about devices, ports and faults: the
// window's boxes, standard error and the traffic log all take their words
// from here. The transports only say what kind of fault it was.

#include <string>
#include <string_view>

#include "toolkit/Fault.h"

namespace projector {

// The forms a device server's address takes, for any message about one.
inline constexpr std::string_view kAddressForms =
    "Write tcp://HOST:PORT (raw TCP, also socket://HOST:PORT) or rfc2217://HOST:PORT (telnet "
    "with COM port control), for example tcp://192.168.1.50:4001.";

// "COM1": what the window calls a port number.
std::string portName(int number);

// A device as people read it: a path too long to take in is shortened in
// its middle, so that a box stays the size of a box.
std::string shown(std::string_view device);

// Who reads a sentence: a person at their own session, or the journal of a
// service, whose user's groups its unit gives.
enum class Reader { Person, Service };

// What went wrong: for a failed open, a failed switch or speed, a loss, a
// notice.
std::string faultText(const toolkit::Fault& fault, Reader reader = Reader::Person);

// Why a line was not sent.
std::string notSentText(const toolkit::Fault& fault);

// The window's box about a lost device (sending: a line found it lost), with
// what the window does about it.
std::string lossWarning(const toolkit::Fault& fault, bool sending);

}  // namespace projector
