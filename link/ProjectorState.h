#pragma once
// What the gateway knows of the projector, for the front ends that show it
// (the web page, the JSON API, the metrics, MQTT): each query's last reading
// with its words and when it was read, whether the device is there and the
// projector answers, learnt from every exchange on the shared line whoever
// asked it. While anyone watches, it asks itself, one query a second in
// turn (the power state every third), and after a command at once what the
// command changed.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/LinkListener.h"
#include "link/SharedLine.h"
#include "toolkit/Controls.h"
#include "vocabulary/Decoder.h"

namespace projector {

inline constexpr int kStatePollMs = 1000;

class ProjectorState : public LinkListener {
  public:
    using Now = SharedLine::Now;
    using WallClock = std::function<std::string()>;

    // What a query last said.
    struct Known {
        Reading reading;
        std::string words;    // the window's words, trimmed
        std::string time;     // the time of day it was read, as the logs write it
        std::int64_t at = 0;  // on the steady clock
    };
    // The device open, the projector answering: what a reading is worth.
    enum class Reach { Away, Silent, Answering };

    ProjectorState(SharedLine& line, toolkit::Timer& poll, Now now, WallClock wallClock);

    const std::optional<Known>& known(Field field) const;
    Reach reach() const;
    // The freeze as last set on the line: the KR60P cannot be asked.
    std::optional<bool> frozen() const { return frozen_; }
    // The catalogue's query that reads a field ("power-state", ...).
    static std::string_view queryOf(Field field);

    // Told of each field that changed, and of the reach (nothing) when it did.
    using Changed = std::function<void(std::optional<Field> field)>;
    void onChange(Changed changed) { changed_.push_back(std::move(changed)); }

    // While at least one watches, the poll runs.
    void watch() { setWatchers(watchers_ + 1); }
    void unwatch() { setWatchers(watchers_ - 1); }
    // Every reading older than maxAgeMs asked again (shared with any asking
    // already); done once they are all answered, or have failed.
    void refresh(std::int64_t maxAgeMs, std::function<void()> done);

    void portEvent(const PortEvent& event) override;

  private:
    void heard(const Answer& answer);
    void tick();
    void setWatchers(int watchers);
    void tell(std::optional<Field> field);

    SharedLine& line_;
    toolkit::Timer& poll_;
    Now now_;
    WallClock wallClock_;
    std::array<std::optional<Known>, 9> known_;
    bool open_ = false;
    std::optional<bool> frozen_;
    int watchers_ = 0;
    std::size_t next_ = 0;
    std::vector<Changed> changed_;
};

}  // namespace projector
