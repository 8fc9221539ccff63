#include "panel/WarningBoxes.h"

#include <utility>

#include "vocabulary/Sentences.h"

namespace panel {

using Kind = projector::PortEvent::Kind;
using projector::faultText;
using projector::lossWarning;
using projector::notSentText;

WarningBoxes::WarningBoxes(toolkit::MessageBox& box) : box_(box) {}

void WarningBoxes::warn(const std::string& text) {
    if (shown_) shown_(text);
    box_.warn(text);
}

void WarningBoxes::onShown(std::function<void(const std::string&)> observer) {
    shown_ = std::move(observer);
}

void WarningBoxes::sendFailed(const std::string& /*line*/, const toolkit::Fault& fault) {
    warn(fault.kind == toolkit::Fault::Kind::Lost ? lossWarning(fault, true) : notSentText(fault));
}

void WarningBoxes::portEvent(const projector::PortEvent& event) {
    switch (event.kind) {
        case Kind::SwitchFailed:
            if (!event.reconnecting) {
                warn(faultText(event.fault));
                break;
            }
            [[fallthrough]];  // the device is still looked for: a loss's box
        case Kind::Lost:
            lossShown_ = lossWarning(event.fault, false);
            warn(lossShown_);
            break;
        case Kind::SpeedFailed:
        case Kind::Notice:
            warn(faultText(event.fault));
            break;
        case Kind::Reconnected:
        case Kind::Switched:
            // Nothing is lost any more: a box that says so would mislead.
            if (!lossShown_.empty()) box_.withdraw(std::exchange(lossShown_, {}));
            break;
        default:
            break;
    }
}

}  // namespace panel
