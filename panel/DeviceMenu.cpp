#include "panel/DeviceMenu.h"

#include <vector>

namespace panel {

namespace {

constexpr const char* kOther = "Other device…";
constexpr const char* kDefault = "Default";

std::string com(int number) {
    return "COM" + std::to_string(number);
}

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

DeviceMenu::DeviceMenu(projector::Link& link, projector::DeviceChoice& choice,
                       const Services& services, PortSettingsFrame& frame, WarningBoxes& warnings)
    : link_(link), choice_(choice), s_(services), frame_(frame), warnings_(warnings) {}

void DeviceMenu::applyChoices() {
    const auto present = s_.devices.present();
    for (const int number : {1, 2}) {
        link_.setDevice(number, choice_.deviceFor(number, present).path);
        frame_.setToolTip(number, toolTip(number, present));
    }
}

std::string DeviceMenu::toolTip(int number, const Present& present) const {
    const std::string path = choice_.deviceFor(number, present).path;
    std::string tip = com(number) + ": " + path;
    for (const toolkit::SerialDevice& device : present) {
        if (device.isAt(path) && !device.description.empty()) {
            tip += ", " + device.description;
        }
    }
    return tip;
}

void DeviceMenu::open(int number) {
    frame_.holdOpen(true);
    const auto present = s_.devices.present();
    const std::string current = choice_.deviceFor(number, present).path;
    std::vector<toolkit::MenuItem> items;
    std::vector<std::string> paths;
    bool currentListed = false;
    for (const toolkit::SerialDevice& device : present) {
        const bool isCurrent = device.isAt(current);
        currentListed = currentListed || isCurrent;
        items.push_back({nameOf(device) + " (" + device.path + ")", detailsOf(device), isCurrent});
        paths.push_back(device.path);
    }
    // A device the system does not list (a pseudo-terminal, or one unplugged)
    // still shows what the number stands for now.
    if (!currentListed) {
        items.insert(items.begin(), {current, com(number) + " now", true});
        paths.insert(paths.begin(), current);
    }
    items.push_back({kOther, "A device path to type, such as /dev/ttyUSB0", false});
    items.push_back(
        {kDefault, "The first USB serial adapter present, else the built-in port", false});

    const auto chosen = s_.menu.choose(items);
    if (chosen && *chosen < paths.size()) {
        choose(number, paths[*chosen], false);
    } else if (chosen && *chosen == paths.size()) {
        const auto typed = s_.prompt.ask(com(number) + ": other device",
                                         "Serial device for " + com(number) + ":", current);
        if (typed) {
            if (const auto problem = s_.devices.problemWith(*typed)) {
                warnings_.warn(*problem);
            } else {
                choose(number, *typed, false);
            }
        }
    } else if (chosen) {
        choose(number, choice_.defaultFor(number, present).path, true);
    }
    frame_.holdOpen(false);
}

void DeviceMenu::choose(int number, const std::string& path, bool toDefault) {
    const std::string before = choice_.deviceFor(number).path;
    link_.setDevice(number, path);
    if (!switchIfConcerned(number)) {
        link_.setDevice(number, before);  // the switch's box said why; nothing is kept
        return;
    }
    const bool kept = toDefault ? choice_.reset(number) : choice_.map(number, path);
    frame_.setToolTip(number, toolTip(number, s_.devices.present()));
    if (!kept) {
        warnings_.warn(com(number) + " stands for " + path +
                       " for this run, but the choice could not be kept for the next start: " +
                       s_.settings.location() + " cannot be written.");
    }
}

bool DeviceMenu::switchIfConcerned(int number) {
    if (link_.portOpen() && link_.portNumber() != number) return true;
    frame_.switchTo(number);
    return link_.portOpen() && link_.portNumber() == number;
}

}  // namespace panel
