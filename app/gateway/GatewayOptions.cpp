#include "app/gateway/GatewayOptions.h"

#include <sys/stat.h>

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QStringList>
#include <memory>

#include "app/ExitStatus.h"
#include "app/gateway/Settings.h"
#include "mqtt/Topics.h"
#include "pjlink/Protocol.h"

namespace gateway {

namespace {

using toolkit::failure;

constexpr const char* kUsage =
    "kr60p-gateway --device DEVICE [--listen HOST:PORT] [--password-file FILE | --no-password]\n"
    "                    [--name NAME] [--share tcp://HOST:PORT] [--speed 19200|9600]\n"
    "                    [--http HOST:PORT [--http-certificate FILE --http-key FILE]]\n"
    "                    [--mqtt mqtt://HOST[:PORT] [--mqtt-user USER --mqtt-password-file FILE]\n"
    "                     [--mqtt-base TOPIC] [--mqtt-ca FILE] [--ha-prefix PREFIX|off]]\n"
    "                    [--log FILE|-] [--verbose] [--notify HOST[:PORT]]... [--config FILE]";
// PJLink's limit on a password.
constexpr std::size_t kLongestPassword = 32;

Exit wrong(const std::string& what) {
    return {"kr60p-gateway: " + what + "\nUsage: " + kUsage + "\nkr60p-gateway --help says more.\n",
            app::kExitUsage};
}

bool loopback(const Endpoint& endpoint) {
    if (endpoint.host == "localhost") return true;
    const QHostAddress address(QString::fromStdString(endpoint.host));
    return !address.isNull() && address.isLoopback();
}

// The first line of the file; key: the setting that names it.
toolkit::Result<std::string> readPassword(const std::string& path, const std::string& key) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return failure(key + ": cannot read " + path + ": " + file.errorString().toStdString() +
                       ".");
    }
    std::string password = file.readLine(1024).toStdString();
    while (!password.empty() && (password.back() == '\n' || password.back() == '\r')) {
        password.pop_back();
    }
    if (password.empty()) return failure(key + ": the first line of " + path + " is empty.");
    return password;
}

toolkit::Result<std::string> readPassword(const std::string& path) {
    auto password = readPassword(path, "password-file");
    if (password && password->size() > kLongestPassword) {
        return failure(
            "password-file: a PJLink password is at most 32 characters; the first line "
            "of " +
            path + " has " + std::to_string(password->size()) + ".");
    }
    return password;
}

// Beside NAME.conf, the instance's own NAME.password.
std::string passwordBeside(const std::string& config) {
    const QFileInfo info(QString::fromStdString(config));
    return (info.path() + "/" + info.completeBaseName() + ".password").toStdString();
}

std::optional<std::string> readableByOthers(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || (status.st_mode & S_IROTH) == 0) return std::nullopt;
    return "the password file " + path + " can be read by every user of this machine: chmod o-r " +
           path;
}

std::string helpText(const QCommandLineParser& parser) {
    return std::string("Usage: ") + kUsage + "\n       kr60p-gateway --help | --version\n\n" +
           "The KR60P on the network as a PJLink Class 2 projector, and its one serial line\n"
           "shared with the panel and kr60p-ctl.\n\n" +
           parser.helpText().section('\n', 2).toStdString() +
           "\nSIGHUP reads the configuration and the password file again and reopens the log.\n"
           "Exit status: 0 ended by SIGTERM or SIGINT; 1 cannot listen; 2 the settings are\n"
           "wrong, the password file cannot be read, or another gateway holds the device.\n";
}

// The broker's password, and the topic base (from the name by default).
toolkit::Result<Options> settleMqtt(Options options) {
    if (!options.mqtt) {
        if (options.haRemove) return failure("--ha-remove needs --mqtt: the broker to clear.");
        return options;
    }
    if (!options.mqttPasswordFile.empty()) {
        auto password = readPassword(options.mqttPasswordFile, "mqtt-password-file");
        if (!password) return failure(password.error());
        options.mqttPassword = *password;
        if (auto warning = readableByOthers(options.mqttPasswordFile)) {
            options.warnings.push_back(*warning);
        }
    }
    if (options.mqttBase.empty()) options.mqttBase = mqtt::defaultBase(options.name);
    if (!options.mqttCa.empty() && !options.mqtt->tls) {
        return failure("--mqtt-ca is for mqtts://, not " + options.mqtt->url + ".");
    }
    return options;
}

// What the settings say together: the password, and who may connect where.
toolkit::Result<Options> settle(Options options, const std::string& hostName) {
    if (options.device.empty()) return failure("--device is needed: the projector's line.");
    if (options.open && !options.passwordFile.empty()) {
        return failure("--password-file and --no-password say opposite things: give one.");
    }
    if (!options.open && options.passwordFile.empty() && !options.config.empty()) {
        const std::string beside = passwordBeside(options.config);
        if (QFile::exists(QString::fromStdString(beside))) options.passwordFile = beside;
    }
    if (!options.passwordFile.empty()) {
        auto password = readPassword(options.passwordFile);
        if (!password) return failure(password.error());
        options.password = *password;
        if (auto warning = readableByOthers(options.passwordFile)) {
            options.warnings.push_back(*warning);
        }
    }
    options.loopbackOnly = !options.password && !options.open;
    if (options.listen.empty()) {
        options.listen = options.loopbackOnly ? std::vector<Endpoint>{{"127.0.0.1", pjlink::kPort},
                                                                      {"::1", pjlink::kPort, true}}
                                              : std::vector<Endpoint>{{"", pjlink::kPort}};
    } else if (options.loopbackOnly && !loopback(options.listen.front())) {
        return failure("--listen " + options.listen.front().shown() +
                       " would let anyone on the network work the projector: give "
                       "--password-file FILE, or --no-password if that is meant.");
    }
    if (options.http && options.loopbackOnly && !loopback(*options.http)) {
        return failure("--http " + options.http->shown() +
                       " would let anyone on the network work the projector: give "
                       "--password-file FILE, or --no-password if that is meant.");
    }
    if (options.httpCertificate.empty() != options.httpKey.empty()) {
        return failure("--http-certificate and --http-key go together: HTTPS needs both.");
    }
    if (options.name.empty()) options.name = hostName;
    return settleMqtt(std::move(options));
}

}  // namespace

toolkit::Result<Options, Exit> readOptions(const std::vector<std::string>& arguments,
                                           const std::string& hostName) {
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
    const QCommandLineOption config(
        "config", "Read the same settings from FILE, one key=value a line; the command line wins.",
        "FILE");
    const auto qs = [](std::string_view text) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    };
    std::vector<std::unique_ptr<QCommandLineOption>> options;
    for (const Setting& setting : settingTable()) {
        QStringList names{qs(setting.key)};
        if (setting.key == "device") names.prepend("d");
        options.push_back(setting.kind == Kind::Switch
                              ? std::make_unique<QCommandLineOption>(names, qs(setting.help))
                              : std::make_unique<QCommandLineOption>(names, qs(setting.help),
                                                                     qs(setting.valueName)));
    }
    parser.addOption(help);
    parser.addOption(version);
    for (const auto& option : options) parser.addOption(*option);
    parser.addOption(config);

    QStringList list;
    for (const std::string& argument : arguments) list << QString::fromStdString(argument);
    if (!parser.parse(list)) return failure(wrong(parser.errorText().toStdString() + "."));
    if (parser.isSet(help)) return failure(Exit{helpText(parser), app::kExitDone});
    if (parser.isSet(version)) {
        return failure(Exit{"kr60p-gateway " PANEL_VERSION "\n", app::kExitDone});
    }
    if (!parser.positionalArguments().isEmpty()) {
        return failure(wrong("\"" + parser.positionalArguments().front().toStdString() +
                             "\" is not an option."));
    }

    // The file first, then the command line over it.
    Givens givens;
    Options read;
    if (parser.isSet(config)) {
        read.config = parser.value(config).toStdString();
        auto fromFile = readConfig(read.config);
        if (!fromFile) return failure(wrong(fromFile.error()));
        givens = *fromFile;
    }
    for (std::size_t i = 0; i < options.size(); ++i) {
        const Setting& setting = settingTable()[i];
        if (!parser.isSet(*options[i])) continue;
        const std::string where = "--" + std::string(setting.key);
        if (setting.kind == Kind::Switch) {
            givens[std::string(setting.key)] = {"yes", where};
        } else {
            givens[std::string(setting.key)] = {parser.values(*options[i]).join(',').toStdString(),
                                                where};
        }
    }
    for (const Setting& setting : settingTable()) {
        const auto given = givens.find(setting.key);
        if (given == givens.end()) continue;
        if (auto checked = setting.read(read, given->second.value); !checked) {
            return failure(wrong(given->second.where + ": " + checked.error()));
        }
    }
    auto settled = settle(std::move(read), hostName);
    if (!settled) return failure(wrong(settled.error()));
    return *settled;
}

}  // namespace gateway
