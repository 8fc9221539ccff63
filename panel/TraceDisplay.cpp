#include "panel/TraceDisplay.h"

namespace panel {

TraceDisplay::TraceDisplay(toolkit::Label& Label11, toolkit::Label& Label12,
                           toolkit::Label& Label22)
    : Label11(Label11), Label12(Label12), Label22(Label22) {}

void TraceDisplay::clearSentAndReceived() {
    Label11.setCaption("");
    Label12.setCaption("");
}

void TraceDisplay::lineSent(const std::string& /*line*/, const std::string& trace) {
    Label11.setCaption(trace);
}

void TraceDisplay::received(const std::string& /*chunk*/, const std::string& bufferTrace) {
    Label12.setCaption(bufferTrace);
}

void TraceDisplay::statusDecoded(const std::string& text) {
    Label22.setCaption(text);
}

void TraceDisplay::noReply() {
    Label12.setCaption(std::string(kNoReply));
}

void TraceDisplay::traceCleared() {
    Label11.setCaption("");
    Label12.setCaption("");
    Label22.setCaption("");
}

}  // namespace panel
