#include "app/ctl/CtlOptions.h"

#include <QCommandLineParser>
#include <QStringList>
#include <charconv>

#include "app/ExitStatus.h"
#include "toolkit/DeviceAddress.h"
#include "vocabulary/Sentences.h"

namespace ctl {

namespace {

constexpr const char* kUsage =
    "kr60p-ctl [-d DEVICE] [-s 19200|9600] [-t MS] [--json] [--log FILE] COMMAND...";

Options usageError(const std::string& what, const std::string& hint) {
    Options options;
    options.exitText = "kr60p-ctl: " + what + "\n" + hint + "\n";
    options.exitStatus = app::kExitUsage;
    return options;
}

std::optional<int> milliseconds(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 600'000) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

Options readOptions(const std::vector<std::string>& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Commands for one KR60P data projector from a shell script, through the same link as "
        "kr60p-panel.");
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
    const QCommandLineOption device(
        {"d", "device"},
        "The projector's device: a path, tcp://HOST:PORT or rfc2217://HOST:PORT (default: what "
        "COM1 stands for in the panel).",
        "DEVICE");
    const QCommandLineOption speed({"s", "speed"}, "The line's speed, 19200 (default) or 9600.",
                                   "BAUD");
    const QCommandLineOption timeout({"t", "timeout"},
                                     "How long to wait for each reply, in milliseconds (default "
                                     "500; 1500 for a tcp:// device, a shared line perhaps).",
                                     "MS");
    const QCommandLineOption json("json", "One JSON object a line, for each command.");
    const QCommandLineOption log(
        "log", "Append a line for every event to FILE (- for standard error), as the panel does.",
        "FILE");
    parser.addOptions({help, version, device, speed, timeout, json, log});
    const auto helpText = [&parser] {
        return std::string("Usage: ") + kUsage +
               "\n       kr60p-ctl list [--json]\n       kr60p-ctl --help | --version\n\n" +
               parser.helpText().section('\n', 2).toStdString() +
               "\nCommands:\n"
               "  NAME        a command of the window by name (kr60p-ctl list shows them)\n"
               "  status      every status query the window has, each decoded\n"
               "  send CODE   any code, as typed in the window's CMD entry\n"
               "  -           further commands from standard input, one a line\n\n"
               "Exit status: 0 every command answered, 1 a command got no reply, 2 the command\n"
               "line is wrong, 3 the device could not be opened or was lost, 130 interrupted.\n";
    };

    QStringList list;
    for (const std::string& argument : arguments) list << QString::fromStdString(argument);
    if (!parser.parse(list)) {
        return usageError(parser.errorText().toStdString() + ".",
                          "Usage: " + std::string(kUsage) + "\nkr60p-ctl --help says more.");
    }
    Options options;
    if (parser.isSet(help)) {
        options.exitText = helpText();
        return options;
    }
    if (parser.isSet(version)) {
        options.exitText = "kr60p-ctl " PANEL_VERSION "\n";
        return options;
    }
    for (const QString& word : parser.positionalArguments())
        options.words.push_back(word.toStdString());
    if (!options.words.empty() && options.words.front() == "list") {
        options.list = true;
        for (std::size_t i = 1; i < options.words.size(); ++i) {
            if (options.words[i] != "--json") {
                return usageError("list takes only --json, not \"" + options.words[i] + "\".",
                                  "Usage: kr60p-ctl list [--json]");
            }
            options.json = true;
        }
    }
    if (options.words.empty()) {
        return usageError("no command given.",
                          "Usage: " + std::string(kUsage) + "\nkr60p-ctl list shows the commands.");
    }
    if (parser.isSet(device)) {
        options.device = parser.value(device).toStdString();
        if (const auto bad = toolkit::addressFault(*options.device)) {
            return usageError("-d: " + projector::faultText(*bad), "Usage: " + std::string(kUsage));
        }
    }
    if (parser.isSet(speed)) {
        const QString baud = parser.value(speed);
        if (baud != "19200" && baud != "9600") {
            return usageError("-s is 19200 or 9600, not \"" + baud.toStdString() + "\".",
                              "Usage: " + std::string(kUsage));
        }
        options.settings = baud.toStdString() + ",N,8,1";
        options.speedGiven = true;
    }
    if (parser.isSet(timeout)) {
        const auto ms = milliseconds(parser.value(timeout).toStdString());
        if (!ms) {
            return usageError("-t takes milliseconds, 1 to 600000, not \"" +
                                  parser.value(timeout).toStdString() + "\".",
                              "Usage: " + std::string(kUsage));
        }
        options.timeoutMs = *ms;
        options.timeoutGiven = true;
    }
    options.json = options.json || parser.isSet(json);
    if (parser.isSet(log)) options.log = parser.value(log).toStdString();
    return options;
}

int timeoutFor(const Options& options, const std::string& device) {
    if (options.timeoutGiven || !toolkit::isNetworkDevice(device)) return options.timeoutMs;
    const auto address = toolkit::readAddress(device).address;
    const bool raw = address && address->protocol == toolkit::NetworkAddress::Protocol::Raw;
    return raw ? kNetworkTimeoutMs : options.timeoutMs;
}

}  // namespace ctl
