#pragma once
// The gateway's settings: from its command line, and from a configuration
// file of the same settings (one systemd instance a projector), the command
// line winning. Read again on SIGHUP.

#include <optional>
#include <string>
#include <vector>

#include "app/servers/Endpoint.h"
#include "toolkit/Result.h"

namespace gateway {

// mqtt://HOST[:PORT] or mqtts://HOST[:PORT].
struct Broker {
    std::string url;
    std::string host;
    int port = 1883;
    bool tls = false;
    bool operator==(const Broker&) const = default;
};

struct Options {
    std::string device;
    std::vector<Endpoint> listen;         // where PJLink clients connect
    std::optional<std::string> password;  // read from the password file
    std::string passwordFile;             // where it was read from
    bool open = false;                    // --no-password: anyone may connect
    bool loopbackOnly = false;            // no password and not open
    std::string name;                     // NAME ?
    std::vector<Endpoint> notify;         // --notify: where Class 2 notifications go too
    std::optional<Endpoint> share;        // --share tcp://HOST:PORT
    std::string settings = "19200,N,8,1";
    std::optional<std::string> log;  // --log: every request, answer and line's byte too
    bool verbose = false;            // that detail on standard error (the journal) as well
    std::string config;              // --config: the file read, again on SIGHUP
    std::optional<Endpoint> http;    // --http HOST:PORT: the web page, the API, the metrics
    std::string httpCertificate;     // --http-certificate FILE, with --http-key: HTTPS
    std::string httpKey;
    std::optional<Broker> mqtt;    // --mqtt URL: the projector on a broker
    std::string mqttUser;          // --mqtt-user
    std::string mqttPasswordFile;  // --mqtt-password-file: its first line
    std::optional<std::string> mqttPassword;
    std::string mqttBase;                    // --mqtt-base (default kr60p/NAME)
    std::string mqttCa;                      // --mqtt-ca FILE for mqtts://
    std::string haPrefix = "homeassistant";  // --ha-prefix; empty (off): no discovery
    bool haRemove = false;                   // --ha-remove: clear the broker, then end
    // Said in the log at start and at each reload: a password file others
    // can read, a default taken.
    std::vector<std::string> warnings;
};

// What the command line asks for besides running: a text to print (--help,
// --version, or why the settings are wrong) and the status to end with.
struct Exit {
    std::string text;
    int status = 0;
};

// hostName: the name the gateway answers NAME with unless told otherwise.
toolkit::Result<Options, Exit> readOptions(const std::vector<std::string>& arguments,
                                           const std::string& hostName);

}  // namespace gateway
