#pragma once
// Each of the gateway's settings declared once: its name (the option's and
// the configuration file's key), its kind, its help text and how its value
// is read. The command line and the configuration file are both read
// through this table.

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "app/gateway/GatewayOptions.h"
#include "toolkit/Result.h"

namespace gateway {

enum class Kind {
    Value,   // --key VALUE, key=VALUE
    Switch,  // --key, key=yes
    List,    // --key VALUE again and again, key=VALUE,VALUE
};

struct Setting {
    std::string_view key;
    Kind kind;
    std::string_view valueName;  // --help's name for the value; none for a switch
    std::string_view help;
    // Reads the value into the options, or says why it cannot be.
    toolkit::Checked (*read)(Options& options, const std::string& value);
};
std::span<const Setting> settingTable();

// A value as given, and where, for what is said when it is wrong:
// "--listen", or "/etc/kr60p-gateway/hall-3.conf, line 12".
struct Given {
    std::string value;
    std::string where;
};
using Givens = std::map<std::string, Given, std::less<>>;

// key=value lines; blank lines, # comments and a # comment after a value
// (with a blank before it) do not count.
toolkit::Result<Givens> readConfig(const std::string& path);

// HOST:PORT, [IPv6]:PORT, as a device's address is written; port 0, which
// no device has, takes a free port.
std::optional<Endpoint> endpointOf(const std::string& address);

}  // namespace gateway
