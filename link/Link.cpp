#include "link/Link.h"

#include "vocabulary/Decoder.h"
#include "vocabulary/Trace.h"

namespace projector {

Link::Link(Port& port, toolkit::Timer& Timer2, toolkit::Timer& Timer4)
    : port_(port), Timer2(Timer2), Timer4(Timer4) {
    port_.setReader(*this);
    Timer2.onTimer([this] { Timer2_Timer(); });
    Timer4.onTimer([this] { Timer4_Timer(); });
}

void Link::setStartValues() {
    CommandPrefix = "";
    ReplyPending = false;
    RxBuffer = "";
}

void Link::setPacing(int replyTimeoutMs, int traceClearMs) {
    Timer2.setInterval(replyTimeoutMs);
    Timer4.setInterval(traceClearMs);
}

bool Link::send(std::string_view code) {
    SendLine = CommandPrefix;
    SendLine += code;
    SendLine += '\r';
    return Hyouji(Transmit);
}

void Link::dropPendingReply() {
    Timer2.setEnabled(false);
    Timer4.setEnabled(true);
    RxBuffer = "";
}

void Link::shutDown(const std::string& reason) {
    if (ended()) return;
    Timer2.setEnabled(false);
    Timer4.setEnabled(false);
    port_.shutDown(reason);
}

bool Link::Hyouji(HyoujiMode mode, const std::string& chunk) {
    if (mode == Transmit) {
        if (port_.write(SendLine)) return false;
        Timer2.setEnabled(true);
        ReplyPending = true;
        Timer4.setEnabled(true);
        return true;
    }
    const std::string trace = traceOf(RxBuffer);
    port_.listeners().tell([&](LinkListener& listener) { listener.received(chunk, trace); });
    if (const auto decoded = decodeReply(SendLine, CommandPrefix, trace, PressureValue)) {
        port_.listeners().tell([&](LinkListener& listener) { listener.statusDecoded(*decoded); });
    }
    return true;
}

void Link::bytesIn(const std::string& chunk) {
    MSComm1_OnComm(chunk);
}

void Link::MSComm1_OnComm(const std::string& chunk) {
    if (RxBuffer.size() < kRxBufferLimit) {
        RxBuffer.append(chunk, 0, kRxBufferLimit - RxBuffer.size());
    }
    ReplyPending = false;
    Hyouji(Receive, chunk);
}

// The countdowns that end each exchange by themselves.

// Reply time-out.
void Link::Timer2_Timer() {
    if (ended()) return;
    if (ReplyPending) port_.listeners().tell([](LinkListener& listener) { listener.noReply(); });
    Timer2.setEnabled(false);
    RxBuffer = "";
    ReplyPending = false;
}

// Trace-clear delay.
void Link::Timer4_Timer() {
    if (ended()) return;
    port_.listeners().tell([](LinkListener& listener) { listener.traceCleared(); });
    Timer4.setEnabled(false);
}

}  // namespace projector
