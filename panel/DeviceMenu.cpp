#include "panel/DeviceMenu.h"

#include <utility>
#include <vector>

#include "panel/Messages.h"
#include "vocabulary/Sentences.h"

namespace panel {

namespace {

using Kind = projector::PortEvent::Kind;

constexpr const char* kOther = "Other device…";
constexpr const char* kDefault = "Default";

// What names a device to a person: its description, else its node's name.
std::string nameOf(const toolkit::SerialDevice& device) {
    if (!device.description.empty()) return device.description;
    const auto slash = device.kernelName.rfind('/');
    return slash == std::string::npos ? device.kernelName : device.kernelName.substr(slash + 1);
}

std::string detailsOf(const toolkit::SerialDevice& device) {
    std::string details = device.kernelName;
    for (const std::string& part : {device.manufacturer, device.serialNumber}) {
        if (!part.empty()) details += ", " + part;
    }
    return details;
}

}  // namespace

DeviceMenu::DeviceMenu(projector::Port& port, projector::DeviceChoice& choice,
                       const Services& services, PortSettingsFrame& frame, PortDevices& ports,
                       WarningBoxes& warnings)
    : port_(port),
      choice_(choice),
      s_(services),
      frame_(frame),
      ports_(ports),
      warnings_(warnings) {}

void DeviceMenu::open(int number) {
    frame_.holdOpen(true);
    if (const auto picked = pick(number)) choose(number, *picked);
    frame_.holdOpen(false);
}

std::optional<DeviceMenu::Pick> DeviceMenu::pick(int number) {
    const auto present = s_.devices.present();
    const std::string current = choice_.deviceFor(number).path;
    std::vector<toolkit::MenuItem> items;
    std::vector<std::string> devices;
    bool currentListed = false;
    for (const toolkit::SerialDevice& device : present) {
        const bool isCurrent = device.isAt(current);
        currentListed = currentListed || isCurrent;
        items.push_back({nameOf(device) + " (" + device.path + ")", detailsOf(device), isCurrent});
        devices.push_back(device.path);
    }
    // A device the system does not list (a pseudo-terminal, a device server,
    // one unplugged) still shows what the number stands for now.
    if (!currentListed) {
        items.insert(items.begin(),
                     {projector::shown(current), projector::portName(number) + " now", true});
        devices.insert(devices.begin(), current);
    }
    items.push_back({kOther,
                     "A device path to type, such as /dev/ttyUSB0, or a device server's address, "
                     "such as tcp://192.168.1.50:4001",
                     false});
    items.push_back(
        {kDefault, "The first USB serial adapter present, else the built-in port", false});

    const auto chosen = s_.menu.choose(items);
    if (!chosen) return std::nullopt;
    if (*chosen < devices.size()) return Pick{devices[*chosen], false};
    if (*chosen > devices.size()) return Pick{choice_.defaultFor(number).path, true};
    std::string typed = current;
    for (;;) {
        const auto answer = s_.prompt.ask(projector::portName(number) + ": other device",
                                          "Serial device for " + projector::portName(number) +
                                              " (a path, or tcp://HOST:PORT, rfc2217://HOST:PORT):",
                                          typed);
        if (!answer) return std::nullopt;
        const auto problem = s_.devices.problemWith(*answer);
        if (!problem) return Pick{*answer, false};
        warnings_.warn(projector::faultText(*problem));
        typed = *answer;
    }
}

void DeviceMenu::choose(int number, const Pick& pick) {
    // A choice for the number not in use only says what it stands for.
    if (port_.portOpen() && port_.portNumber() != number) {
        port_.setDevice(number, pick.device);
        keep(number, pick);
        return;
    }
    attempt_ =
        Attempt{number, pick, choice_.deviceFor(number).path, port_.portNumber(), port_.portOpen()};
    port_.setDevice(number, pick.device);
    frame_.switchTo(number);
}

void DeviceMenu::keep(int number, const Pick& pick) {
    const bool kept = pick.toDefault ? choice_.reset(number) : choice_.map(number, pick.device);
    ports_.showToolTip(number);
    if (!kept) warnings_.warn(unkeptChoice(number, pick.device, s_.settings.location()));
}

void DeviceMenu::portEvent(const projector::PortEvent& event) {
    if (!attempt_ || (event.kind != Kind::Switched && event.kind != Kind::SwitchFailed)) return;
    const Attempt attempt = *std::exchange(attempt_, std::nullopt);
    if (event.number != attempt.number || event.device != attempt.pick.device) return;
    if (event.kind == Kind::Switched) {
        keep(attempt.number, attempt.pick);
        return;
    }
    // The box says why; the link goes back to what it was, and nothing is kept.
    port_.setDevice(attempt.number, attempt.deviceBefore);
    port_.restorePort(attempt.portBefore, attempt.openBefore);
    frame_.showChosen(attempt.portBefore);
}

}  // namespace panel
