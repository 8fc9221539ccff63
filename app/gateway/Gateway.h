#pragma once
// The gateway's front ends on the program line: the PJLink servers (TCP and
// UDP), the status notifications, the share, the web, MQTT, and the journal of what they
// do; read again, and applied where it can be without dropping a client, on
// SIGHUP.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/ProgramLine.h"
#include "app/gateway/GatewayOptions.h"
#include "app/http/WebServer.h"
#include "app/mqtt/MqttFrontEnd.h"
#include "app/pjlink/Destinations.h"
#include "app/pjlink/PjlinkServer.h"
#include "app/pjlink/UdpServer.h"
#include "app/servers/Journal.h"
#include "app/share/ShareServer.h"
#include "link/LinkListener.h"
#include "link/ProjectorState.h"
#include "log/TrafficLog.h"
#include "pjlink/Answers.h"
#include "pjlink/Notifier.h"
#include "qt/QtTimer.h"

namespace gateway {

// The MQTT front end's settings from the gateway's.
MqttSettings mqttSettings(const Options& options);

// --ha-remove: what the gateway left on the broker cleared; the exit status.
int takeOutOfService(const Options& options);

// The journal's streams for the options: standard error with the events
// (and the detail with --verbose), a --log file with everything.
toolkit::Result<std::vector<trafficlog::Sink>> logSinks(const Options& options);

class Gateway : public projector::LinkListener {
  public:
    // log: the traffic log already on the line, writing to sinks, which the
    // gateway replaces (and closes) when a reload names others.
    Gateway(app::ProgramLine& line, trafficlog::TrafficLog& log,
            std::vector<trafficlog::Sink> sinks, Options options);
    Gateway(const Gateway&) = delete;
    Gateway& operator=(const Gateway&) = delete;

    // Listens where the options say, and says how in the journal; why not,
    // where an address it needs cannot be had.
    toolkit::Checked serve();
    // Once the line is started: %2LKUP to the --notify hosts.
    void linkUp() { udp_.linkUp(); }
    // The settings read again (or why they cannot be): what changed applied,
    // what needs a restart said.
    void reload(const toolkit::Result<Options, Exit>& fresh);
    // An orderly end: offline said on the broker.
    void end();
    // The exit status the gateway ends with, once it ends of itself.
    int exitStatus() const { return exitStatus_; }

    // Another gateway holding the device is no fault to wait out.
    void portEvent(const projector::PortEvent& event) override;

  private:
    std::vector<Place> named(const Options& options) const;
    toolkit::Checked serveWeb();
    toolkit::Checked serveMqtt();
    void applyNotify(const Options& options);

    app::ProgramLine& line_;
    trafficlog::TrafficLog& log_;
    Options options_;
    std::vector<trafficlog::Sink> sinks_;
    Journal journal_;
    pjlink::Answers answers_;
    Destinations destinations_;
    UdpServer udp_;
    toolkit::qt::QtTimer poll_;
    pjlink::Notifier notifier_;
    PjlinkServer pjlink_;
    std::optional<ShareServer> share_;
    toolkit::qt::QtTimer statePoll_;
    projector::ProjectorState state_;
    web::LineCounts counts_;
    std::unique_ptr<WebServer> web_;
    std::unique_ptr<MqttFrontEnd> mqtt_;
    int exitStatus_ = 0;
};

}  // namespace gateway
