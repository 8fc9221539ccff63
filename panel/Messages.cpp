#include "panel/Messages.h"

#include "vocabulary/Sentences.h"

namespace panel {

namespace {

using Source = projector::DeviceChoice::Source;
using projector::faultText;
using projector::shown;

}  // namespace

std::string startUpFailure(const toolkit::Fault& fault,
                           const projector::DeviceChoice::Device& com1) {
    const std::string device = shown(com1.path);
    std::string hint;
    switch (com1.source) {
        case Source::CommandLine:
            hint =
                "To use another device, choose it with \"Choose device…\", or start the panel "
                "with --com1 DEVICE, for example --com1 /dev/ttyUSB0 or --com1 "
                "tcp://192.168.1.50:4001.";
            break;
        case Source::Mapped:
            hint = "COM1 stands for " + device +
                   " because it was chosen from the window. Choose another device, or Default, "
                   "with \"Choose device…\"; or start the panel with --com1 DEVICE, then "
                   "right-click COM1 under COM.";
            break;
        case Source::Adapter:
        case Source::BuiltIn:
            hint = "COM1 stands for " + device +
                   (com1.source == Source::Adapter ? ", the first USB serial adapter present"
                                                   : ", as no USB serial adapter was found") +
                   ". Plug in the adapter, choose another device with \"Choose device…\", or "
                   "start the panel with --com1 DEVICE, for example --com1 /dev/ttyUSB0.";
            break;
    }
    return "The panel cannot start.\n\n" + faultText(fault) + "\n\n" + hint +
           " kr60p-panel --list-ports shows the devices present.";
}

std::string unkeptChoice(int number, const std::string& device, const std::string& location) {
    return projector::portName(number) + " stands for " + shown(device) +
           " for this run, but the choice could not be kept for the next start: " +
           shown(location) + " cannot be written.";
}

}  // namespace panel
