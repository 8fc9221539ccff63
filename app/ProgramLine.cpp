#include "app/ProgramLine.h"

namespace app {

ProgramLine::ProgramLine(const std::string& device, std::string_view settings,
                         projector::ExchangeTiming timing)
    : settings_(settings),
      reconnect_(nullptr, "Reconnect", projector::kReconnectCheckMs),
      silence_(nullptr, "ReplySilence", timing.silenceMs),
      overall_(nullptr, "ReplyOverall", timing.overallMs),
      quiet_(nullptr, "LineQuiet", timing.quietMs),
      probe_(nullptr, "SilenceProbe", projector::kProbeMs),
      port_(device_, reconnect_),
      queue_(port_, {silence_, overall_, quiet_}, timing),
      shared_(
          queue_, [this] { return now(); }, probe_) {
    clock_.start();
    device_.setDevice(1, device);
    // What the device said before it went, or came back, no longer stands.
    port_.addListener(shared_);
}

void ProgramLine::start(projector::Port::WhenAbsent whenAbsent) {
    port_.chooseSpeed(settings_);
    port_.start(whenAbsent);
}

}  // namespace app
