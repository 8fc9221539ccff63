#pragma once
// An address to listen on or to send to: a host name or address (IPv6
// without brackets) and a port.

#include <string>

namespace gateway {

struct Endpoint {
    std::string host;  // empty: every address, IPv4 and IPv6
    int port = 0;
    bool optional = false;  // a default the system may lack (IPv6 loopback)
    std::string shown() const;
    bool operator==(const Endpoint&) const = default;
};

}  // namespace gateway
