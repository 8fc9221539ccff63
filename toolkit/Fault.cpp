#include "toolkit/Fault.h"

namespace toolkit {

namespace {

// For a debugger or a crash report; people read the panel's sentences.
std::string technical(const Fault& fault) {
    std::string text =
        "device fault " + std::to_string(static_cast<int>(fault.kind)) + " on " + fault.device;
    if (!fault.detail.empty()) text += ": " + fault.detail;
    return text;
}

}  // namespace

Fault faultOf(Fault::Kind kind, std::string device, std::string detail) {
    Fault fault;
    fault.kind = kind;
    fault.device = std::move(device);
    fault.detail = std::move(detail);
    return fault;
}

SerialError::SerialError(Fault fault)
    : std::runtime_error(technical(fault)), fault_(std::move(fault)) {}

}  // namespace toolkit
