#pragma once
// The KR60P's answers to PJLink's requests: each request becomes the
// projector's own commands and queries on the shared line, in the mapping's
// terms, and its answer the text after the "=". What a projector says of
// itself (its name, maker, inputs, class) needs no exchange, so that it is
// there in standby and while the projector is away.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/SharedLine.h"
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
    using Reply = std::function<void(const std::string& text)>;

    Answers(projector::SharedLine& line, Identity identity);

    // A request that Protocol has read, answered once, now or later.
    void answer(const Request& request, const Reply& reply);

  private:
    using Then = std::function<void(const projector::Reading& reading)>;

    // Class 2's own commands; false when the request is none of them.
    bool answerClass2(const Request& request, const Reply& reply);
    void power(const Request& request, const Reply& reply);
    void input(const Request& request, const Reply& reply);
    void mute(const Request& request, const Reply& reply);
    void lamps(const Reply& reply);
    // A query's reading, or ERR4 when the projector gave none.
    void read(const std::string& code, const Reply& reply, Then then);
    // Actions, one after the other; OK when the projector took every one.
    void act(std::vector<std::string> names, const Reply& reply);
    // The same, refused as not now in standby and while cooling down.
    void actWhileLit(std::vector<std::string> names, const Reply& reply);
    // The power as PJLink reports it ('0' standby .. '3' warming up), then
    // what follows; ERR4 for a state the mapping does not know.
    void withPower(const Reply& reply, std::function<void(char power)> then);

    projector::SharedLine& line_;
    // What the projector says of itself, by command: the same in every state.
    std::map<std::string, std::string, std::less<>> said_;
    // The freeze, as last set or seen on the line: the KR60P cannot be asked.
    std::optional<bool> frozen_;
};

}  // namespace pjlink
