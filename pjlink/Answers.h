#pragma once
// The KR60P's answers to PJLink's requests: each request, by its row of the
// command table, becomes the projector's own commands and queries on the
// shared line, in the mapping's terms. What a projector says of itself (its
// name, maker, inputs, class) needs no exchange, so that it is there in
// standby and while the projector is away.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/SharedLine.h"
#include "pjlink/Mapping.h"
#include "pjlink/Protocol.h"

namespace pjlink {

struct Identity {
    std::string name;   // NAME
    std::string maker;  // INF1
    std::string model;  // INF2
    std::string info;   // INFO
};

class Answers {
  public:
    using Respond = std::function<void(const Response& response)>;

    Answers(projector::SharedLine& line, Identity identity);

    // A request that Protocol has read, answered once, now or later.
    void answer(const Request& request, const Respond& respond);
    // What NAME ? answers from now on.
    void setName(std::string name) { identity_.name = std::move(name); }

  private:
    using Then = std::function<void(const projector::Reading& reading)>;

    void power(const Request& request, const Respond& respond);
    void input(const Request& request, const Respond& respond);
    void mute(const Request& request, const Respond& respond);
    void lamps(const Respond& respond);
    void inputName(const Request& request, const Respond& respond);
    void resolution(const Respond& respond);
    void freeze(const Request& request, const Respond& respond);
    // A query of the catalogue's, by name; ERR4 when the projector gave no
    // reading.
    void read(std::string_view query, const Respond& respond, Then then);
    // A status as the mapping reads it from its query.
    void readStatus(Status status, const Respond& respond);
    // Actions of the catalogue's, by name, one after the other; OK when the
    // projector took every one.
    void act(std::vector<std::string> names, const Respond& respond);
    // The same, refused as not now in standby and while cooling down.
    void actWhileLit(std::vector<std::string> names, const Respond& respond);
    // The power as PJLink reports it ('0' standby .. '3' warming up), then
    // what follows; the mapping's error for a state it does not know.
    void withPower(const Respond& respond, std::function<void(char power)> then);

    projector::SharedLine& line_;
    Identity identity_;
    std::string inputs_;  // INST
    // The freeze, as last set or seen on the line: the KR60P cannot be asked.
    std::optional<bool> frozen_;
};

}  // namespace pjlink
