#include "panel/WarningBoxes.h"

namespace panel {

using Kind = projector::PortEvent::Kind;

WarningBoxes::WarningBoxes(toolkit::MessageBox& box) : box_(box) {}

void WarningBoxes::warn(const std::string& text) {
    if (shown_) shown_(text);
    box_.warn(text);
}

void WarningBoxes::onShown(std::function<void(const std::string&)> observer) {
    shown_ = std::move(observer);
}

void WarningBoxes::sendFailed(const std::string& /*line*/, const std::string& description) {
    warn(description);
}

void WarningBoxes::portEvent(const projector::PortEvent& event) {
    switch (event.kind) {
        case Kind::SwitchFailed:
        case Kind::SpeedFailed:
        case Kind::Lost:
            warn(event.description);
            break;
        default:
            break;
    }
}

}  // namespace panel
