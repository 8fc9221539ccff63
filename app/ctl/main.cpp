// kr60p-ctl: the projector from a shell script, through the panel's own link,
// decoder, device choice and traffic log; no display needed.

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>

#include "app/ExitStatus.h"
#include "app/ProgramLine.h"
#include "app/ProgramStart.h"
#include "app/Signals.h"
#include "app/ctl/CtlOptions.h"
#include "app/ctl/Report.h"
#include "app/ctl/Script.h"
#include "app/ctl/Session.h"
#include "link/DeviceChoice.h"
#include "log/TrafficLog.h"
#include "qt/QtSerialDevices.h"
#include "qt/QtSettings.h"
#include "toolkit/DeviceAddress.h"
#include "vocabulary/Sentences.h"

int main(int argc, char* argv[]) {
    const ctl::Options options = ctl::readOptions(std::vector<std::string>(argv, argv + argc));
    if (options.exitText) return app::exitWith(*options.exitText, options.exitStatus);
    const ctl::Report report(options.json);
    if (options.list) {
        report.list();
        return app::kExitDone;
    }
    const ctl::Script script = ctl::readScript(options.words, std::cin);
    if (!script.problem.empty())
        return app::exitWith("kr60p-ctl: " + script.problem + "\n", app::kExitUsage);
    const app::LogOpening logOpening = app::openTrafficLog(options.log);
    if (logOpening.failure)
        return app::exitWith("kr60p-ctl: " + *logOpening.failure + "\n", app::kExitUsage);
    std::FILE* logFile = logOpening.file;

    QCoreApplication application(argc, argv);
    toolkit::qt::QtSettings settings;
    toolkit::qt::QtSerialDevices devices;
    std::map<int, std::string> given;
    if (options.device) given[1] = *options.device;
    const projector::DeviceChoice choice(settings, devices, given);
    const std::string device = choice.deviceFor(1).path;
    if (options.speedGiven && toolkit::isNetworkDevice(device)) {
        const auto address = toolkit::readAddress(device).address;
        if (address && address->protocol == toolkit::NetworkAddress::Protocol::Raw) {
            std::fprintf(stderr,
                         "kr60p-ctl: -s has no effect on %s: a raw TCP device server runs the "
                         "serial line at the speed set on the server (rfc2217:// lets kr60p-ctl "
                         "set it).\n",
                         projector::shown(device).c_str());
        }
    }

    const int timeoutMs = ctl::timeoutFor(options, device);
    app::ProgramLine line(device, options.settings,
                          {timeoutMs, std::max(ctl::kLongestReplyMs, 4 * timeoutMs), timeoutMs});
    std::optional<trafficlog::TrafficLog> log;
    if (logFile) {
        log.emplace(logFile, [](const std::string& text) {
            std::fprintf(stderr, "kr60p-ctl: %s\n", text.c_str());
        });
        log->setProgram("kr60p-ctl");
        log->started("kr60p-ctl " PANEL_VERSION, device, "-");
        line.addListener(*log);
    }
    ctl::Session session(line.port(), line.queue(), script, report, timeoutMs, !options.device);
    line.addListener(session);
    const app::EndOnSignals endOnSignals(
        [&session](const std::string& why) { session.interrupt(why); });
    line.start();
    return QCoreApplication::exec();
}
