// kr60p-pjlink: the projector on the network as a PJLink projector, through
// the panel's own link, decoder and traffic log; the one owner of its line,
// which the panel and kr60p-ctl can share.

#include <QCoreApplication>
#include <QSysInfo>
#include <optional>

#include "app/ExitStatus.h"
#include "app/ProgramLine.h"
#include "app/ProgramStart.h"
#include "app/Signals.h"
#include "app/pjlink/GatewayOptions.h"
#include "app/pjlink/PjlinkServer.h"
#include "app/pjlink/ShareServer.h"
#include "app/pjlink/UdpServer.h"
#include "log/TrafficLog.h"
#include "pjlink/Answers.h"
#include "pjlink/Notifier.h"
#include "qt/QtTimer.h"
#include "vocabulary/Commands.h"
#include "vocabulary/Product.h"

namespace {

constexpr int kExitCannotListen = 1;

std::string joined(const std::vector<gateway::Endpoint>& endpoints) {
    std::string text;
    for (const gateway::Endpoint& endpoint : endpoints) {
        text += (text.empty() ? "" : ", ") + endpoint.shown();
    }
    return text;
}

std::string whoMayConnect(const gateway::Options& options) {
    if (options.password) return "a password is asked of every client";
    if (options.open) return "no password (--no-password): whoever reaches it works the projector";
    return "no password, so loopback addresses only; --password-file FILE (or --no-password) "
           "serves the network";
}

}  // namespace

int main(int argc, char* argv[]) {
    const gateway::Options options = gateway::readOptions(
        std::vector<std::string>(argv, argv + argc), QSysInfo::machineHostName().toStdString());
    if (options.exitText) return app::exitWith(*options.exitText, options.exitStatus);
    const app::LogOpening logOpening = app::openTrafficLog(options.log);
    if (logOpening.failure)
        return app::exitWith("kr60p-pjlink: " + *logOpening.failure + "\n", app::kExitUsage);

    QCoreApplication application(argc, argv);
    app::ProgramLine line(options.device, options.settings,
                          {projector::kReplyMs, 10'000, projector::kReplyMs});
    // Heard from the event loop: a signal during the start ends the gateway
    // as soon as it runs.
    const app::EndOnSignals endOnSignals([&line](const std::string& why) {
        line.port().shutDown(why);
        QCoreApplication::exit(app::kExitDone);
    });

    trafficlog::TrafficLog log(logOpening.file, [](const std::string& text) {
        std::fprintf(stderr, "kr60p-pjlink: %s\n", text.c_str());
    });
    log.started("kr60p-pjlink " PANEL_VERSION, options.device, "-");
    line.addListener(log);
    const auto note = [&log](const std::string& line) { log.note(line); };

    pjlink::Answers answers(line.shared(),
                            {options.name, std::string(projector::kMaker),
                             std::string(projector::kModel), "kr60p-pjlink " PANEL_VERSION});

    gateway::PjlinkServer pjlinkServer(answers, options.password, note);
    std::vector<gateway::Endpoint> listening;
    for (const gateway::Endpoint& endpoint : options.listen) {
        std::string why;
        if (const auto where = pjlinkServer.listen(endpoint, why)) {
            listening.push_back(*where);
            continue;
        }
        if (endpoint.optional) {
            note("PJLINK not on " + endpoint.shown() + ": " + why);
            continue;
        }
        note("ENDED: cannot listen on " + endpoint.shown() + ": " + why);
        return app::exitWith(
            "kr60p-pjlink: cannot listen on " + endpoint.shown() + ": " + why + "\n",
            kExitCannotListen);
    }
    note("PJLINK on " + joined(listening) + ": " + whoMayConnect(options));

    // Class 2 over UDP on the same addresses and port: the search, and the
    // status notifications, polled for only while someone is to hear them.
    gateway::UdpServer udp(listening.front().port, note);
    for (const gateway::Endpoint& endpoint : listening) {
        std::string why;
        if (!udp.listen(endpoint, why)) note("SEARCH not on " + endpoint.shown() + ": " + why);
    }
    for (const gateway::Endpoint& destination : options.notify) udp.addDestination(destination);
    toolkit::qt::QtTimer poll(nullptr, "StatusPoll", pjlink::kStatusPollMs);
    pjlink::Notifier notifier(
        line.shared(), poll, [&line] { return line.now(); },
        [&udp](const std::string& text) { udp.notify(text); });
    line.addListener(notifier);
    notifier.setListening(udp.anyone());
    pjlinkServer.onController([&udp, &notifier](const QHostAddress& address) {
        udp.setController(address);
        notifier.setListening(udp.anyone());
    });

    std::optional<gateway::ShareServer> shareServer;
    if (options.share) {
        shareServer.emplace(line.shared(), note);
        std::string why;
        const auto where = shareServer->listen(*options.share, why);
        if (!where) {
            note("ENDED: cannot share on " + options.share->shown() + ": " + why);
            return app::exitWith("kr60p-pjlink: cannot share the line on " +
                                     options.share->shown() + ": " + why + "\n",
                                 kExitCannotListen);
        }
        line.queue().onUnasked(
            [&shareServer](const std::string& bytes) { shareServer->unasked(bytes); });
        note("SHARE on tcp://" + where->shown() +
             ": the line for the panel and kr60p-ctl, without a password");
    }

    line.start(projector::Port::WhenAbsent::KeepLooking);
    udp.linkUp();
    return QCoreApplication::exec();
}
