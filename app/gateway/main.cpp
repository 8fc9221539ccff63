// kr60p-gateway: the projector on the network as a PJLink projector, through
// the panel's own link, decoder and traffic log; the one owner of its line,
// which the panel and kr60p-ctl can share.

#include <QCoreApplication>
#include <QSysInfo>

#include "app/ExitStatus.h"
#include "app/ProgramLine.h"
#include "app/ProgramStart.h"
#include "app/Signals.h"
#include "app/gateway/Gateway.h"
#include "app/gateway/GatewayOptions.h"
#include "log/TrafficLog.h"
#include "vocabulary/Commands.h"

namespace {

constexpr int kExitCannotListen = 1;
// A fault of the program's own, said rather than aborted on.
constexpr int kExitFault = 70;

int run(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv, argv + argc);
    const auto read = [&arguments] {
        return gateway::readOptions(arguments, QSysInfo::machineHostName().toStdString());
    };
    const auto options = read();
    if (!options) return app::exitWith(options.error().text, options.error().status);
    const auto sinks = gateway::logSinks(*options);
    if (!sinks) return app::exitWith("kr60p-gateway: " + sinks.error() + "\n", app::kExitUsage);

    QCoreApplication application(argc, argv);
    if (options->haRemove) {
        // Taking the projector out of service needs the broker, not the projector.
        return gateway::takeOutOfService(*options);
    }
    app::ProgramLine line(options->device, options->settings,
                          {projector::kReplyMs, 10'000, projector::kReplyMs});
    trafficlog::TrafficLog log(*sinks, [](const std::string& text) {
        std::fprintf(stderr, "kr60p-gateway: %s\n", text.c_str());
    });
    log.setService(true);
    log.setProgram("the gateway");
    log.started("kr60p-gateway " PANEL_VERSION, options->device, "");
    line.addListener(log);
    gateway::Gateway gateway(line, log, *sinks, *options);
    // Heard from the event loop: a signal during the start ends the gateway
    // as soon as it runs; SIGHUP reads the settings again.
    const app::EndOnSignals endOnSignals(
        [&line, &gateway](const std::string& why) {
            gateway.end();
            line.port().shutDown(why);
            QCoreApplication::exit(app::kExitDone);
        },
        [&gateway, &read] { gateway.reload(read()); });

    if (const auto served = gateway.serve(); !served) {
        line.port().shutDown(served.error());
        return app::exitWith("kr60p-gateway: " + served.error() + "\n", kExitCannotListen);
    }
    line.start(projector::Port::WhenAbsent::KeepLooking);
    gateway.linkUp();
    return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kr60p-gateway: stopped by a fault of its own: %s\n", error.what());
        return kExitFault;
    }
}
