// The one road of commands to the projector and of replies to the operator.

#include "link/Decoder.h"
#include "link/Link.h"
#include "link/Trace.h"

namespace projector {

void Link::sendCode(const std::string& code) {
    SendLine = CommandPrefix + code + '\r';
    Hyouji(SendLine, Transmit);
}

void Link::Hyouji(const std::string& text, int mode) {
    if (mode == Transmit) {
        // A line the port cannot take throws here, before anything is traced.
        c_.MSComm1.output(text);
        c_.Label11.setCaption(traceOf(text));
        c_.Timer2.setEnabled(true);
        ReplyPending = 1;
        c_.Timer4.setEnabled(true);
        return;
    }
    c_.Label12.setCaption(traceOf(text));
    const auto decoded = decodeReply(SendLine, CommandPrefix, c_.Label12.caption(), PressureValue);
    if (decoded) c_.Label22.setCaption(*decoded);
}

void Link::MSComm1_OnComm() {
    if (c_.MSComm1.commEvent() != toolkit::CommEventReceive) return;
    const std::string chunk = c_.MSComm1.input();
    if (RxBuffer.size() < kRxBufferLimit) {
        RxBuffer.append(chunk, 0, kRxBufferLimit - RxBuffer.size());
    }
    ReplyPending = 0;
    Hyouji(RxBuffer, Receive);
}

}  // namespace projector
