#include "qt/QtSerialDevices.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>
#include <map>

#include "qt/DeviceChecks.h"
#include "toolkit/DeviceAddress.h"

namespace toolkit::qt {

namespace {

// The stable names the system gives serial devices, by the node they lead to.
std::map<QString, QString> stableNames() {
    std::map<QString, QString> names;
    const QDir byId("/dev/serial/by-id");
    for (const QFileInfo& link :
         byId.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString node = link.canonicalFilePath();
        if (!node.isEmpty() && !names.contains(node)) names[node] = link.absoluteFilePath();
    }
    return names;
}

bool isAdapter(const QSerialPortInfo& info) {
    return info.portName().startsWith("ttyUSB") || info.portName().startsWith("ttyACM") ||
           info.hasVendorIdentifier();
}

}  // namespace

std::vector<SerialDevice> QtSerialDevices::present() const {
    const auto stable = stableNames();
    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice device;
        device.kernelName = info.systemLocation().toStdString();
        const auto named = stable.find(QFileInfo(info.systemLocation()).canonicalFilePath());
        device.path = named != stable.end() ? named->second.toStdString() : device.kernelName;
        device.description = info.description().toStdString();
        device.manufacturer = info.manufacturer().toStdString();
        device.serialNumber = info.serialNumber().toStdString();
        device.adapter = isAdapter(info);
        devices.push_back(std::move(device));
    }
    std::stable_sort(devices.begin(), devices.end(), [](const auto& a, const auto& b) {
        return a.adapter != b.adapter ? a.adapter : a.path < b.path;
    });
    return devices;
}

std::vector<std::string> QtSerialDevices::adapters() const {
    // Filtered here, not by a name filter, which would load the regular
    // expression engine at every start.
    QStringList terminals;
    for (const QString& name :
         QDir("/sys/class/tty").entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (name.startsWith("ttyUSB") || name.startsWith("ttyACM")) terminals << name;
    }
    return adapterOrder(stableNames(), terminals);
}

std::vector<std::string> adapterOrder(const std::map<QString, QString>& stable,
                                      const QStringList& terminals) {
    std::vector<std::string> found;
    std::vector<QString> named;
    for (const auto& [node, link] : stable) {
        found.push_back(link.toStdString());
        named.push_back(node);
    }
    for (const QString& name : terminals) {
        const QString node = "/dev/" + name;
        if (std::find(named.begin(), named.end(), node) == named.end()) {
            found.push_back(node.toStdString());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<Fault> QtSerialDevices::problemWith(const std::string& device) const {
    return isNetworkDevice(device) ? addressFault(device) : pathProblem(device);
}

std::string QtSerialDevices::fallback(int number) const {
    return builtInPort(number);
}

std::string builtInPort(int number) {
#ifdef Q_OS_WIN
    return "COM" + std::to_string(number);
#else
    return "/dev/ttyS" + std::to_string(number - 1);
#endif
}

}  // namespace toolkit::qt
