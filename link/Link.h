#pragma once
// The window's exchange on the port: SendLine handed to MSComm1, everything
// received gathered in RxBuffer, traced and decoded after each chunk, the
// reply time-out (Timer2) and the trace-clear delay (Timer4). It touches no
// control of the window: it tells the port's listeners what happened.

#include <cstdint>
#include <string>
#include <string_view>

#include "link/Port.h"
#include "toolkit/Controls.h"

namespace projector {

// Received text beyond this is dropped until the buffer is cleared, so that a
// flood costs bounded time and memory.
inline constexpr std::size_t kRxBufferLimit = 32767;

class Link : public PortReader {
  public:
    // Timer2 is the reply time-out, Timer4 the trace-clear delay. The link
    // reads the port from now on.
    Link(Port& port, toolkit::Timer& Timer2, toolkit::Timer& Timer4);
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    Port& port() { return port_; }

    // The window's variables as the start-up sets them, before port 1 opens.
    void setStartValues();
    // The reply time-out and trace-clear delay of the transmissions to come;
    // a running countdown restarts with its new interval.
    void setPacing(int replyTimeoutMs, int traceClearMs);
    // Sends CommandPrefix & code & CR. False when the port could not take the
    // line; the listeners have been told why.
    bool send(std::string_view code);
    // A held button was let go: the last repetition's reply time-out is
    // dropped, the trace-clear countdown runs on, and what has been received
    // so far is discarded.
    void dropPendingReply();
    // "END": the countdowns stopped, the port closed, the listeners told why.
    void shutDown(const std::string& reason);

    void bytesIn(const std::string& chunk) override;

  private:
    enum HyoujiMode : int { Transmit = 1, Receive = 2 };

    // The one road of every exchange: Transmit writes SendLine to the port,
    // Receive shows RxBuffer (just grown by chunk) and decodes it.
    bool Hyouji(HyoujiMode mode, const std::string& chunk = {});
    // The receive event: the chunk appended to RxBuffer, then shown.
    void MSComm1_OnComm(const std::string& chunk);
    void Timer2_Timer();
    void Timer4_Timer();
    bool ended() const { return port_.state() == PortState::Ended; }

    Port& port_;
    toolkit::Timer& Timer2;
    toolkit::Timer& Timer4;

    std::string SendLine;
    std::string RxBuffer;
    bool ReplyPending = false;
    std::string CommandPrefix;
    std::int16_t PressureValue = 0;
};

}  // namespace projector
