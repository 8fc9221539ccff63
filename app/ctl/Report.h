#pragma once
// What kr60p-ctl prints on standard output: a line a command, as words or as
// JSON Lines.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "vocabulary/Decoder.h"

namespace ctl {

struct Outcome {
    std::string command;  // its name, or "send"
    std::string code;
    std::string reply;  // the bytes that came back, as they are
    bool answered = false;
    bool query = false;
    std::optional<std::string> decoded;         // the decoder's words, for a query it read
    std::string time;                           // when the exchange ended, local ISO 8601
    std::optional<projector::Reading> reading;  // what the decoded words say, for a program
};

class Report {
  public:
    explicit Report(bool json) : json_(json) {}

    void command(const Outcome& outcome) const;
    // "status": each query under its name.
    void status(const std::vector<Outcome>& outcomes) const;
    // Every named command: its name, its code and what it does.
    void list() const;

  private:
    bool json_;
};

}  // namespace ctl
