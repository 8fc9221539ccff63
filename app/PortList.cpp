#include "app/PortList.h"

#include <unistd.h>

#include <algorithm>
#include <array>

#include "toolkit/DeviceAddress.h"
#include "vocabulary/Sentences.h"

namespace app {

namespace {

using Row = std::array<std::string, 4>;

// What a device that the system does not list is.
std::string unlisted(const std::string& device) {
    if (!toolkit::isNetworkDevice(device)) {
        return ::access(device.c_str(), F_OK) == 0 ? "-" : "not present";
    }
    const auto reading = toolkit::readAddress(device);
    if (!reading.address) return "not a valid address";
    return reading.address->protocol == toolkit::NetworkAddress::Protocol::Rfc2217
               ? "device server, RFC 2217"
               : "device server, raw TCP";
}

}  // namespace

std::string portList(const std::vector<toolkit::SerialDevice>& present,
                     const projector::DeviceChoice& choice) {
    std::vector<Row> rows{{"DEVICE", "NODE", "DESCRIPTION", "PORT"}};
    std::array<bool, 2> listed{};
    for (const toolkit::SerialDevice& device : present) {
        std::string port = "-";
        for (const int number : {1, 2}) {
            if (device.isAt(choice.deviceFor(number).path)) {
                port = projector::portName(number);
                listed[static_cast<std::size_t>(number - 1)] = true;
            }
        }
        rows.push_back({device.path, device.kernelName,
                        device.description.empty() ? "-" : device.description, port});
    }
    for (const int number : {1, 2}) {
        if (listed[static_cast<std::size_t>(number - 1)]) continue;
        const std::string device = choice.deviceFor(number).path;
        rows.push_back({device, "-", unlisted(device), projector::portName(number)});
    }
    std::array<std::size_t, 4> widths{};
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    }
    std::string list;
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        list += line + '\n';
    }
    return list;
}

}  // namespace app
