// The timers that end each exchange by themselves.

#include "link/Link.h"

namespace projector {

// Reply time-out.
void Link::Timer2_Timer() {
    if (ReplyPending == 1) c_.Label12.setCaption(kNoReply);
    c_.Timer2.setEnabled(false);
    RxBuffer = "";
    ReplyPending = 0;
}

// Settings auto-hide.
void Link::Timer3_Timer() {
    c_.Frame8.setVisible(false);
    c_.Timer3.setEnabled(false);
}

// Trace-clear delay.
void Link::Timer4_Timer() {
    c_.Label11.setCaption("");
    c_.Label12.setCaption("");
    c_.Label22.setCaption("");
    c_.Timer4.setEnabled(false);
}

}  // namespace projector
