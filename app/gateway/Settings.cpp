#include "app/gateway/Settings.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "mqtt/Topics.h"
#include "pjlink/Protocol.h"
#include "toolkit/DeviceAddress.h"
#include "vocabulary/Sentences.h"

namespace gateway {

namespace {

using toolkit::Checked;
using toolkit::Done;
using toolkit::failure;

// PJLink's limit on a projector's name.
constexpr std::size_t kLongestName = 64;

// A setting taken as it is written: a file's path, a user name.
template <std::string Options::*field>
Checked text(Options& options, const std::string& value) {
    options.*field = value;
    return Done{};
}

Checked yes(const std::string& value, bool& flag) {
    if (value != "yes") return failure("yes or absent, not \"" + value + "\".");
    flag = true;
    return Done{};
}

Checked device(Options& options, const std::string& value) {
    if (const auto bad = toolkit::addressFault(value)) return failure(projector::faultText(*bad));
    options.device = value;
    return Done{};
}

Checked listen(Options& options, const std::string& value) {
    const auto endpoint = endpointOf("tcp://" + value);
    if (!endpoint) return failure("HOST:PORT or [IPv6]:PORT, not \"" + value + "\".");
    options.listen = {*endpoint};
    return Done{};
}

Checked noPassword(Options& options, const std::string& value) {
    return yes(value, options.open);
}

Checked name(Options& options, const std::string& value) {
    if (value.size() > kLongestName) {
        return failure("at most 64 bytes long; \"" + value + "\" has " +
                       std::to_string(value.size()) + ".");
    }
    options.name = value;
    return Done{};
}

Checked share(Options& options, const std::string& value) {
    options.share = endpointOf(value);
    if (!options.share || !value.starts_with("tcp://")) {
        return failure("tcp://HOST:PORT, not \"" + value + "\".");
    }
    return Done{};
}

Checked speed(Options& options, const std::string& value) {
    if (value != "19200" && value != "9600") {
        return failure("19200 or 9600, not \"" + value + "\".");
    }
    options.settings = value + ",N,8,1";
    return Done{};
}

Checked log(Options& options, const std::string& value) {
    options.log = value;
    return Done{};
}

Checked verbose(Options& options, const std::string& value) {
    return yes(value, options.verbose);
}

Checked http(Options& options, const std::string& value) {
    const auto endpoint = endpointOf("tcp://" + value);
    if (!endpoint) return failure("HOST:PORT or [IPv6]:PORT, not \"" + value + "\".");
    options.http = endpoint;
    return Done{};
}

Checked broker(Options& options, const std::string& value) {
    const QUrl url(QString::fromStdString(value), QUrl::StrictMode);
    const QString scheme = url.scheme();
    const bool known = scheme == "mqtt" || scheme == "mqtts";
    if (!url.isValid() || !known || url.host().isEmpty() ||
        (!url.path().isEmpty() && url.path() != "/")) {
        return failure("mqtt://HOST[:PORT] or mqtts://HOST[:PORT], not \"" + value + "\".");
    }
    if (!url.userInfo().isEmpty()) {
        return failure(
            "the user goes in --mqtt-user and the password in a file, "
            "--mqtt-password-file, never in the address: \"" +
            value + "\".");
    }
    const bool tls = scheme == "mqtts";
    options.mqtt = Broker{value, url.host().toStdString(), url.port(tls ? 8883 : 1883), tls};
    return Done{};
}

Checked mqttBase(Options& options, const std::string& value) {
    if (const auto fault = mqtt::baseFault(value)) return failure(*fault + ".");
    options.mqttBase = value;
    return Done{};
}

Checked haPrefix(Options& options, const std::string& value) {
    if (value == "off") {
        options.haPrefix.clear();
        return Done{};
    }
    if (const auto fault = mqtt::baseFault(value)) return failure(*fault + ".");
    options.haPrefix = value;
    return Done{};
}

Checked haRemove(Options& options, const std::string& value) {
    return yes(value, options.haRemove);
}

Checked notify(Options& options, const std::string& value) {
    for (const QString& host : QString::fromStdString(value).split(',', Qt::SkipEmptyParts)) {
        const std::string text = "tcp://" + host.trimmed().toStdString();
        auto endpoint = endpointOf(text);
        if (!endpoint) endpoint = endpointOf(text + ":" + std::to_string(pjlink::kPort));
        if (!endpoint) return failure("HOST or HOST:PORT, not \"" + host.toStdString() + "\".");
        options.notify.push_back(*endpoint);
    }
    return Done{};
}

// clang-format off
constexpr std::array kSettings = std::to_array<Setting>({
    {"device", Kind::Value, "DEVICE",
     "The projector's device: a path, tcp://HOST:PORT or rfc2217://HOST:PORT.", device},
    {"listen", Kind::Value, "HOST:PORT",
     "Where PJLink clients connect (default: every address, port 4352; without a password, "
     "the loopback addresses only).", listen},
    {"password-file", Kind::Value, "FILE",
     "The PJLink password: the first line of FILE (default, with --config: NAME.password "
     "beside NAME.conf, where there is one).", text<&Options::passwordFile>},
    {"no-password", Kind::Switch, "",
     "Serve without a password, on every address asked for.", noPassword},
    {"name", Kind::Value, "NAME", "The projector's name for NAME ? (default: the host's).", name},
    {"share", Kind::Value, "tcp://HOST:PORT",
     "Offer the line to the panel and kr60p-ctl as a raw device server.", share},
    {"speed", Kind::Value, "BAUD", "The line's speed, 19200 (default) or 9600.", speed},
    {"log", Kind::Value, "FILE|-",
     "Write every event, request, answer and line's byte to FILE (- standard error) too; "
     "standard error (the journal) has the events alone.", log},
    {"verbose", Kind::Switch, "",
     "Write every request, answer and line's byte to standard error too.", verbose},
    {"http", Kind::Value, "HOST:PORT",
     "Serve the web control page, the JSON API and the metrics there (off unless given; "
     "without a password, a loopback address only).", http},
    {"http-certificate", Kind::Value, "FILE",
     "HTTPS with this certificate (PEM) and --http-key; plain HTTP otherwise.", text<&Options::httpCertificate>},
    {"http-key", Kind::Value, "FILE", "The certificate's private key (PEM).", text<&Options::httpKey>},
    {"mqtt", Kind::Value, "URL",
     "Publish the projector on this MQTT broker, mqtt://HOST[:PORT] (1883) or "
     "mqtts://HOST[:PORT] (8883), and take commands from it.", broker},
    {"mqtt-user", Kind::Value, "USER", "The broker's user name.", text<&Options::mqttUser>},
    {"mqtt-password-file", Kind::Value, "FILE",
     "The broker's password: the first line of FILE.", text<&Options::mqttPasswordFile>},
    {"mqtt-base", Kind::Value, "TOPIC",
     "The gateway's topics under TOPIC (default kr60p/NAME, the name in lower case).", mqttBase},
    {"mqtt-ca", Kind::Value, "FILE",
     "The CA certificate (PEM) an mqtts:// broker's certificate is checked against "
     "(default: the system's).", text<&Options::mqttCa>},
    {"ha-prefix", Kind::Value, "PREFIX",
     "Home Assistant's discovery prefix (default homeassistant; off: no discovery).", haPrefix},
    {"ha-remove", Kind::Switch, "",
     "Take the projector out of Home Assistant: clear its discovery documents and its "
     "retained topics on the broker, then end.", haRemove},
    {"notify", Kind::List, "HOST[:PORT]",
     "Send Class 2 status notifications to HOST (UDP port 4352 unless given) as well as to "
     "a controller heard in the last 5 minutes; may be given again.", notify},
});
// clang-format on

std::string trimmed(std::string text) {
    text.erase(0, text.find_first_not_of(" \t"));
    text.erase(text.find_last_not_of(" \t") + 1);
    return text;
}

// A # after a blank starts a comment.
std::string withoutComment(const std::string& value) {
    for (std::size_t at = value.find('#'); at != std::string::npos; at = value.find('#', at + 1)) {
        if (at > 0 && (value[at - 1] == ' ' || value[at - 1] == '\t')) return value.substr(0, at);
    }
    return value;
}

std::string keys() {
    std::string text;
    for (const Setting& setting : kSettings) {
        text += (text.empty() ? "" : ", ") + std::string(setting.key) +
                (setting.kind == Kind::Switch ? "=yes" : "=");
    }
    return text;
}

}  // namespace

std::span<const Setting> settingTable() {
    return kSettings;
}

std::optional<Endpoint> endpointOf(const std::string& address) {
    const bool anyPort = address.ends_with(":0");
    const std::string text = anyPort ? address.substr(0, address.size() - 1) + "1" : address;
    const toolkit::AddressReading reading = toolkit::readAddress(text);
    if (!reading.address) return std::nullopt;
    return Endpoint{reading.address->host, anyPort ? 0 : reading.address->port};
}

toolkit::Result<Givens> readConfig(const std::string& path) {
    std::ifstream in(path);
    if (!in) return failure("--config: cannot read " + path + ": " + std::strerror(errno) + ".");
    Givens givens;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        const auto equals = line.find('=');
        const std::string key = trimmed(line.substr(0, equals));
        const std::string where = path + ", line " + std::to_string(number);
        const bool known = std::any_of(kSettings.begin(), kSettings.end(),
                                       [&](const Setting& setting) { return setting.key == key; });
        if (equals == std::string::npos || !known) {
            return failure(where + ": \"" + trimmed(line) + "\" is not one of the settings (" +
                           keys() + ").");
        }
        givens[key] = {trimmed(withoutComment(line.substr(equals + 1))), where};
    }
    return givens;
}

}  // namespace gateway
