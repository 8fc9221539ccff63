#include "app/Options.h"

#include <QCommandLineParser>
#include <QStringList>

#include "app/ExitStatus.h"
#include "toolkit/DeviceAddress.h"
#include "vocabulary/Sentences.h"

namespace app {

Options readOptions(const std::vector<std::string>& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Control panel for one KR60P data projector on an RS-232C serial line.");
    const QCommandLineOption helpOption({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
    const QCommandLineOption com1(
        "com1",
        "Device for COM1 on this run: a path, tcp://HOST:PORT or rfc2217://HOST:PORT "
        "(default: as chosen from the window, else the first USB serial adapter, else "
        "/dev/ttyS0).",
        "DEVICE");
    const QCommandLineOption com2(
        "com2",
        "Device for COM2 on this run, as for --com1 (default: as chosen from the window, "
        "else the second USB serial adapter, else /dev/ttyS1).",
        "DEVICE");
    const QCommandLineOption listPorts(
        "list-ports", "List the serial devices present and the port each stands for, and exit.");
    const QCommandLineOption log(
        "log", "Append a line for every event of the run to FILE (- for standard error).", "FILE");
    parser.addOptions({helpOption, version, com1, com2, listPorts, log});

    const auto help = [&parser] {
        return parser.helpText().replace("<executable_name>", "kr60p-panel").toStdString() +
               "\nIn the window:\n"
               "  Ctrl+J                     show the traffic trace, the status queries and\n"
               "                             the data-display toggle\n"
               "  double-click the picture   after Ctrl+J: show the whole panel, down to the\n"
               "                             typed-command entry (CMD)\n"
               "  right-click COM1 or COM2   (under COM) choose the device for that port\n";
    };

    QStringList list;
    for (const std::string& argument : arguments) list << QString::fromStdString(argument);

    Options options;
    if (!parser.parse(list)) {
        options.exitText = parser.errorText().toStdString() + "\n\n" + help();
        options.exitStatus = kExitUsage;
        return options;
    }
    if (parser.isSet(helpOption)) {
        options.exitText = help();
        return options;
    }
    if (parser.isSet(version)) {
        options.exitText = "kr60p-panel " PANEL_VERSION "\n";
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.exitText =
            "Unexpected argument: " + parser.positionalArguments().first().toStdString() + "\n\n" +
            help();
        options.exitStatus = kExitUsage;
        return options;
    }
    if (parser.isSet(com1)) options.devices[1] = parser.value(com1).toStdString();
    if (parser.isSet(com2)) options.devices[2] = parser.value(com2).toStdString();
    // An address that cannot be right is refused before anything is opened.
    for (const auto& [number, device] : options.devices) {
        const auto bad = toolkit::addressFault(device);
        if (!bad) continue;
        options.exitText = "kr60p-panel: --com" + std::to_string(number) + ": " +
                           projector::faultText(*bad) + "\n";
        options.exitStatus = kExitUsage;
        return options;
    }
    options.listPorts = parser.isSet(listPorts);
    if (parser.isSet(log)) options.log = parser.value(log).toStdString();
    return options;
}

}  // namespace app
