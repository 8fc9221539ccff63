#pragma once
// The projector and its line in Prometheus's text exposition format: what
// PJLink can say under the names the PJLink exporters use, so that their
// dashboards and alerts work unchanged, and what PJLink cannot say (the
// temperatures, the pressure, the lamp mode, whether the projector is there
// and answering, the line's own health) under the project's own prefix.
// A reading older than a minute, or of a projector away, is left out rather
// than passed off as fresh.

#include <cstdint>
#include <map>
#include <string>

#include "link/LinkListener.h"
#include "link/ProjectorState.h"
#include "link/SharedLine.h"
#include "pjlink/Answers.h"

namespace web {

inline constexpr std::int64_t kFreshMs = 60'000;

// The line's counts since the start: exchanges by outcome, the device's
// losses and returns.
class LineCounts : public projector::LinkListener {
  public:
    explicit LineCounts(projector::SharedLine& line);
    void portEvent(const projector::PortEvent& event) override;

    std::map<std::string, std::uint64_t> outcomes;
    std::uint64_t losses = 0;
    std::uint64_t reconnects = 0;
};

struct Clients {
    std::size_t pjlink = 0;
    std::size_t share = 0;
    std::size_t http = 0;
};

std::string metrics(const projector::ProjectorState& state, const pjlink::Identity& identity,
                    const LineCounts& counts, std::uint64_t fromCache, const Clients& clients,
                    std::int64_t now);

// An outcome's name, as the metrics and the API give it: "answered",
// "no-reply", ...
std::string outcomeName(projector::Answer::Outcome outcome);

}  // namespace web
