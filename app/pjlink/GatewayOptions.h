#pragma once
// kr60p-pjlink's settings: from its command line, and from a configuration
// file of the same settings (one systemd instance a projector), the command
// line winning.

#include <optional>
#include <string>
#include <vector>

namespace gateway {

// An address to listen on: a host name or address (IPv6 without brackets)
// and a port.
struct Endpoint {
    std::string host;  // empty: every address, IPv4 and IPv6
    int port = 0;
    bool optional = false;  // a default the system may lack (IPv6 loopback)
    std::string shown() const;
};

struct Options {
    std::string device;
    std::vector<Endpoint> listen;         // where PJLink clients connect
    std::optional<std::string> password;  // read from --password-file
    bool open = false;                    // --no-password: anyone may connect
    bool loopbackOnly = false;            // no password and not open
    std::string name;                     // NAME ?
    std::vector<Endpoint> notify;         // --notify: where Class 2 notifications go too
    std::optional<Endpoint> share;        // --share tcp://HOST:PORT
    std::string settings = "19200,N,8,1";
    std::string log = "-";                // standard error unless a file is named
    std::optional<std::string> exitText;  // --help, --version or why the settings are wrong
    int exitStatus = 0;
};

// hostName: the name the gateway answers NAME with unless told otherwise.
Options readOptions(const std::vector<std::string>& arguments, const std::string& hostName);

}  // namespace gateway
