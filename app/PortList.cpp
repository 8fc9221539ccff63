#include "app/PortList.h"

#include <algorithm>
#include <array>

namespace app {

std::string portList(const std::vector<toolkit::SerialDevice>& present,
                     const projector::DeviceChoice& choice) {
    if (present.empty()) return "No serial devices found.\n";
    using Row = std::array<std::string, 4>;
    std::vector<Row> rows;
    for (const toolkit::SerialDevice& device : present) {
        std::string port = "-";
        for (const int number : {1, 2}) {
            const std::string path = choice.deviceFor(number, present).path;
            if (device.isAt(path)) {
                port = "COM" + std::to_string(number);
            }
        }
        rows.push_back({device.path, device.kernelName,
                        device.description.empty() ? "-" : device.description, port});
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
