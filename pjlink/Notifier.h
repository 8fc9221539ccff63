#pragma once
// PJLink Class 2's status notifications: the projector's power, input,
// mutes and error status (a device lost or a projector not answering an
// error of its own, ERST's last digit), learnt from every exchange on the shared line
// (whoever asked: a PJLink client, the panel on the share, kr60p-ctl) and
// from a poll of its own, one status query a second, while anyone is to be
// told. Each change is told once; a state that flaps is told at most once a
// second, ending with where it settled.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "link/LinkListener.h"
#include "link/SharedLine.h"
#include "pjlink/Mapping.h"
#include "toolkit/Controls.h"

namespace pjlink {

// How often the notifier asks, and how soon one status is told again.
inline constexpr int kStatusPollMs = 1000;

class Notifier : public projector::LinkListener {
  public:
    using Tell = std::function<void(const std::string& line)>;  // "%2POWR=1\r"

    // poll: a countdown the notifier sets to kStatusPollMs.
    Notifier(projector::SharedLine& line, toolkit::Timer& poll, projector::SharedLine::Now now,
             Tell tell);

    // Whether anyone is to be told: the poll runs only then.
    void setListening(bool anyone);
    // A lost device is an error of the projector's ("other"), told as such.
    void portEvent(const projector::PortEvent& event) override;

  private:
    struct Known {
        std::optional<std::string> value;  // as last learnt
        std::optional<std::string> told;   // as last told
        std::optional<std::int64_t> toldAt;
        // Told a moment ago: a further change waits for the tick.
        bool heldBack(std::int64_t now) const { return toldAt && now - *toldAt < kStatusPollMs; }
    };

    void heard(const projector::Answer& answer);
    // ERST's last digit, "other", an error: the device away or silent.
    void otherError();
    // A value learnt: told at once, unless the same status was told within
    // the last second; the tick tells it then.
    void learnt(Status status, const std::string& value);
    void tell(Status status);
    void tick();

    projector::SharedLine& line_;
    toolkit::Timer& poll_;
    projector::SharedLine::Now now_;
    Tell tell_;
    bool listening_ = false;
    Known& known(Status status) { return known_[static_cast<std::size_t>(status)]; }
    std::array<Known, std::size(kStatuses)> known_{};
    std::size_t next_ = 0;  // the next status query of the poll
};

}  // namespace pjlink
