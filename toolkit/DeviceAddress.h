#pragma once
// Devices reached over the network: tcp://HOST:PORT (raw TCP; socket:// is
// the same) and rfc2217://HOST:PORT (telnet with COM port control). Any
// device text with "://" in it is read as such an address; anything else is
// a path.

#include <optional>
#include <string>
#include <string_view>

#include "toolkit/Fault.h"

namespace toolkit {

struct NetworkAddress {
    enum class Protocol { Raw, Rfc2217 };
    Protocol protocol = Protocol::Raw;
    std::string host;  // a name, an IPv4 address, or an IPv6 address without its brackets
    int port = 0;
};

bool isNetworkDevice(std::string_view device);

// The address, or why it cannot be right and the part concerned.
struct AddressReading {
    std::optional<NetworkAddress> address;
    AddressProblem problem = AddressProblem::None;
    std::string part;
};
AddressReading readAddress(std::string_view text);

// A device server's address that cannot be right, as a fault; nothing for a
// path or an address that may be right.
std::optional<Fault> addressFault(const std::string& device);

}  // namespace toolkit
