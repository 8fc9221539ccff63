#include "app/pjlink/GatewayOptions.h"

#include <QCommandLineParser>
#include <QFile>
#include <QHostAddress>
#include <QStringList>
#include <fstream>
#include <map>

#include "app/ExitStatus.h"
#include "pjlink/Protocol.h"
#include "toolkit/DeviceAddress.h"
#include "vocabulary/Sentences.h"

namespace gateway {

namespace {

constexpr const char* kUsage =
    "kr60p-pjlink --device DEVICE [--listen HOST:PORT] [--password-file FILE | --no-password]\n"
    "                    [--name NAME] [--share tcp://HOST:PORT] [--speed 19200|9600] [--log "
    "FILE|-]\n"
    "                    [--notify HOST[:PORT]]... [--config FILE]";
// PJLink's limits on what a projector says of itself.
constexpr std::size_t kLongestPassword = 32;
constexpr std::size_t kLongestName = 64;

const std::vector<std::string> kKeys{"device", "listen", "password-file", "no-password", "name",
                                     "share",  "speed",  "log",           "notify"};

Options failure(const std::string& what) {
    Options options;
    options.exitText =
        "kr60p-pjlink: " + what + "\nUsage: " + kUsage + "\nkr60p-pjlink --help says more.\n";
    options.exitStatus = app::kExitUsage;
    return options;
}

// HOST:PORT, [IPv6]:PORT, as a device's address is written; port 0, which
// no device has, takes a free port.
std::optional<Endpoint> endpointOf(const std::string& address) {
    const bool anyPort = address.ends_with(":0");
    const std::string text = anyPort ? address.substr(0, address.size() - 1) + "1" : address;
    const toolkit::AddressReading reading = toolkit::readAddress(text);
    if (!reading.address) return std::nullopt;
    return Endpoint{reading.address->host, anyPort ? 0 : reading.address->port};
}

bool loopback(const Endpoint& endpoint) {
    if (endpoint.host == "localhost") return true;
    const QHostAddress address(QString::fromStdString(endpoint.host));
    return !address.isNull() && address.isLoopback();
}

// key=value lines; blank lines and # comments do not count.
std::optional<std::string> readConfig(const std::string& path,
                                      std::map<std::string, std::string>& settings) {
    std::ifstream in(path);
    if (!in) return "--config: cannot read " + path + ".";
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        const auto equals = line.find('=');
        const auto trim = [](std::string text) {
            text.erase(0, text.find_first_not_of(" \t"));
            text.erase(text.find_last_not_of(" \t") + 1);
            return text;
        };
        const std::string key = trim(line.substr(0, equals));
        if (equals == std::string::npos ||
            std::find(kKeys.begin(), kKeys.end(), key) == kKeys.end()) {
            return path + ", line " + std::to_string(number) + ": \"" + trim(line) +
                   "\" is not one of the settings (" +
                   "device=, listen=, password-file=, "
                   "no-password=yes, name=, share=, speed=, log=, notify=).";
        }
        settings[key] = trim(line.substr(equals + 1));
    }
    return std::nullopt;
}

// The first line of the file; why not, when it cannot be the password.
std::optional<std::string> readPassword(const std::string& path, std::string& password) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return "--password-file: cannot read " + path + ": " + file.errorString().toStdString() +
               ".";
    }
    password = file.readLine(1024).toStdString();
    while (!password.empty() && (password.back() == '\n' || password.back() == '\r')) {
        password.pop_back();
    }
    if (password.empty()) return "--password-file: the first line of " + path + " is empty.";
    if (password.size() > kLongestPassword) {
        return "--password-file: a PJLink password is at most 32 characters; the first line of " +
               path + " has " + std::to_string(password.size()) + ".";
    }
    return std::nullopt;
}

}  // namespace

std::string Endpoint::shown() const {
    if (host.empty()) return "*:" + std::to_string(port);
    if (host.find(':') != std::string::npos) return "[" + host + "]:" + std::to_string(port);
    return host + ":" + std::to_string(port);
}

Options readOptions(const std::vector<std::string>& arguments, const std::string& hostName) {
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
    const QCommandLineOption device(
        {"d", "device"}, "The projector's device: a path, tcp://HOST:PORT or rfc2217://HOST:PORT.",
        "DEVICE");
    const QCommandLineOption listen(
        "listen",
        "Where PJLink clients connect (default: every address, port 4352; without a password, "
        "the loopback addresses only).",
        "HOST:PORT");
    const QCommandLineOption passwordFile("password-file",
                                          "The PJLink password: the first line of FILE.", "FILE");
    const QCommandLineOption noPassword("no-password",
                                        "Serve without a password, on every address asked for.");
    const QCommandLineOption name("name", "The projector's name for NAME ? (default: the host's).",
                                  "NAME");
    const QCommandLineOption share(
        "share", "Offer the line to the panel and kr60p-ctl as a raw device server.",
        "tcp://HOST:PORT");
    const QCommandLineOption speed("speed", "The line's speed, 19200 (default) or 9600.", "BAUD");
    const QCommandLineOption log(
        "log", "Write a line for every event to FILE (default -, standard error).", "FILE");
    const QCommandLineOption notify(
        "notify",
        "Send Class 2 status notifications to HOST (UDP port 4352 unless given) as well as to "
        "the controller that sent the last command; may be given again.",
        "HOST[:PORT]");
    const QCommandLineOption config("config",
                                    "Read the same settings from FILE, one key=value a "
                                    "line; the command line wins.",
                                    "FILE");
    parser.addOptions({help, version, device, listen, passwordFile, noPassword, name, share, speed,
                       log, notify, config});

    QStringList list;
    for (const std::string& argument : arguments) list << QString::fromStdString(argument);
    if (!parser.parse(list)) return failure(parser.errorText().toStdString() + ".");
    Options options;
    if (parser.isSet(help)) {
        options.exitText =
            std::string("Usage: ") + kUsage + "\n       kr60p-pjlink --help | --version\n\n" +
            "The KR60P on the network as a PJLink Class 2 projector, and its one serial line\n"
            "shared with the panel and kr60p-ctl.\n\n" +
            parser.helpText().section('\n', 2).toStdString() +
            "\nExit status: 0 ended by SIGTERM, SIGHUP or SIGINT; 1 cannot listen; 2 the settings\n"
            "are wrong or the password file cannot be read.\n";
        return options;
    }
    if (parser.isSet(version)) {
        options.exitText = "kr60p-pjlink " PANEL_VERSION "\n";
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return failure("\"" + parser.positionalArguments().front().toStdString() +
                       "\" is not an option.");
    }

    std::map<std::string, std::string> settings;
    if (parser.isSet(config)) {
        if (const auto bad = readConfig(parser.value(config).toStdString(), settings)) {
            return failure(*bad);
        }
    }
    for (const auto& [option, key] : {std::pair{&device, "device"},
                                      {&listen, "listen"},
                                      {&passwordFile, "password-file"},
                                      {&name, "name"},
                                      {&share, "share"},
                                      {&speed, "speed"},
                                      {&log, "log"}}) {
        if (parser.isSet(*option)) settings[key] = parser.value(*option).toStdString();
    }
    if (parser.isSet(noPassword)) settings["no-password"] = "yes";
    if (parser.isSet(notify)) settings["notify"] = parser.values(notify).join(',').toStdString();

    if (!settings.contains("device")) return failure("--device is needed: the projector's line.");
    options.device = settings["device"];
    if (const auto bad = toolkit::addressFault(options.device)) {
        return failure("--device: " + projector::faultText(*bad));
    }
    if (settings.contains("no-password")) {
        if (settings["no-password"] != "yes") {
            return failure("no-password is yes or absent, not \"" + settings["no-password"] +
                           "\".");
        }
        if (settings.contains("password-file")) {
            return failure("--password-file and --no-password say opposite things: give one.");
        }
        options.open = true;
    }
    if (settings.contains("password-file")) {
        std::string password;
        if (const auto bad = readPassword(settings["password-file"], password)) {
            return failure(*bad);
        }
        options.password = password;
    }
    options.loopbackOnly = !options.password && !options.open;
    if (settings.contains("listen")) {
        const auto endpoint = endpointOf("tcp://" + settings["listen"]);
        if (!endpoint) {
            return failure("--listen is HOST:PORT or [IPv6]:PORT, not \"" + settings["listen"] +
                           "\".");
        }
        if (options.loopbackOnly && !loopback(*endpoint)) {
            return failure("--listen " + endpoint->shown() +
                           " would let anyone on the network work the projector: give "
                           "--password-file FILE, or --no-password if that is meant.");
        }
        options.listen = {*endpoint};
    } else if (options.loopbackOnly) {
        options.listen = {{"127.0.0.1", pjlink::kPort}, {"::1", pjlink::kPort, true}};
    } else {
        options.listen = {{"", pjlink::kPort}};
    }
    options.name = settings.contains("name") ? settings["name"] : hostName;
    if (options.name.size() > kLongestName) {
        return failure("--name is at most 64 bytes long; \"" + options.name + "\" has " +
                       std::to_string(options.name.size()) + ".");
    }
    if (settings.contains("share")) {
        options.share = endpointOf(settings["share"]);
        if (!options.share || !settings["share"].starts_with("tcp://")) {
            return failure("--share is tcp://HOST:PORT, not \"" + settings["share"] + "\".");
        }
    }
    if (settings.contains("speed")) {
        if (settings["speed"] != "19200" && settings["speed"] != "9600") {
            return failure("--speed is 19200 or 9600, not \"" + settings["speed"] + "\".");
        }
        options.settings = settings["speed"] + ",N,8,1";
    }
    if (settings.contains("log")) options.log = settings["log"];
    for (const QString& host :
         QString::fromStdString(settings["notify"]).split(',', Qt::SkipEmptyParts)) {
        const std::string text = "tcp://" + host.trimmed().toStdString();
        auto endpoint = endpointOf(text);
        if (!endpoint) endpoint = endpointOf(text + ":" + std::to_string(pjlink::kPort));
        if (!endpoint) {
            return failure("--notify is HOST or HOST:PORT, not \"" + host.toStdString() + "\".");
        }
        options.notify.push_back(*endpoint);
    }
    return options;
}

}  // namespace gateway
