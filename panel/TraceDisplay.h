#pragma once
// The traffic trace on the window: Label11 shows each line sent, Label12
// everything received since the buffer was last cleared, Label22 the decoded
// reply.

#include <string_view>

#include "link/LinkListener.h"
#include "toolkit/Controls.h"

namespace panel {

inline constexpr std::string_view kNoReply = " X X X X";

class TraceDisplay : public projector::LinkListener {
  public:
    TraceDisplay(toolkit::Label& Label11, toolkit::Label& Label12, toolkit::Label& Label22);

    // The release of a held button empties the sent and received traces at
    // once; the decoded line stays until the trace-clear delay.
    void clearSentAndReceived();

    void lineSent(const std::string& line, const std::string& trace) override;
    void received(const std::string& chunk, const std::string& bufferTrace) override;
    void statusDecoded(const std::string& text) override;
    void noReply() override;
    void traceCleared() override;

  private:
    toolkit::Label& Label11;
    toolkit::Label& Label12;
    toolkit::Label& Label22;
};

}  // namespace panel
