#pragma once
// A projector as seen from its serial line: the state the panel's commands
// change, and the replies its queries get. Time is passed in, so the
// behaviour can be tested without waiting.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

inline constexpr char kAck = '\x06';

struct ProjectorTimes {
    std::int64_t warmUpMs = 3000;
    std::int64_t coolDownMs = 3000;
};

enum class Power { StandBy, WarmingUp, On, CoolingDown };

std::optional<int> actionNumber(std::string_view code);

class Projector {
  public:
    explicit Projector(ProjectorTimes times = {}) : times_(times) {}

    // The reply to one command line (without its CR), or nothing for a line
    // the projector does not know.
    std::optional<std::string> answer(std::string_view line, std::int64_t nowMs);

    Power power(std::int64_t nowMs);
    int input() const { return input_; }
    bool soundMuted() const { return soundMuted_; }
    bool noShow() const { return noShow_; }
    bool frozen() const { return frozen_; }
    bool menuShown() const { return menuShown_; }
    int pictureMode() const { return pictureMode_; }
    std::string_view keyLock() const { return keyLock_; }
    std::int64_t lampHours(std::int64_t nowMs);

  private:
    void settle(std::int64_t nowMs);
    bool act(std::string_view code, std::int64_t nowMs);
    std::string status(std::int64_t nowMs);
    std::string temperatures(std::int64_t nowMs);

    ProjectorTimes times_;
    Power power_ = Power::StandBy;
    std::int64_t since_ = 0;   // when the current power state began
    std::int64_t lampMs_ = 0;  // lamp time before the current power state
    std::int64_t lampHoursAtStart_ = 1234;
    int input_ = 1;
    bool soundMuted_ = false;
    bool noShow_ = false;
    bool frozen_ = false;
    bool menuShown_ = false;
    bool wide_ = false;
    bool wireless_ = false;
    int pictureMode_ = 0x11;
    int signalType_[3] = {0x50, 0x25, 0x32};
    std::string keyLock_ = "NONE";
};

}  // namespace sim
