#include "panel/PortDevices.h"

#include "vocabulary/Sentences.h"

namespace panel {

PortDevices::PortDevices(projector::Port& port, const projector::DeviceChoice& choice,
                         const toolkit::SerialDevices& devices, PortSettingsFrame& frame)
    : port_(port), choice_(choice), devices_(devices), frame_(frame) {}

void PortDevices::apply() {
    for (const int number : {1, 2}) port_.setDevice(number, choice_.deviceFor(number).path);
}

void PortDevices::showToolTips() {
    const auto present = devices_.present();
    for (const int number : {1, 2}) frame_.setToolTip(number, toolTip(number, present));
}

void PortDevices::showToolTip(int number) {
    frame_.setToolTip(number, toolTip(number, devices_.present()));
}

std::string PortDevices::toolTip(int number,
                                 const projector::DeviceChoice::Present& present) const {
    const std::string path = choice_.deviceFor(number).path;
    std::string tip = projector::portName(number) + ": " + projector::shown(path);
    for (const toolkit::SerialDevice& device : present) {
        if (device.isAt(path) && !device.description.empty()) tip += ", " + device.description;
    }
    return tip;
}

}  // namespace panel
