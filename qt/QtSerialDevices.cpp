#include "qt/QtSerialDevices.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

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

// A terminal: a pseudo-terminal (majors 136 to 143), or a device the kernel
// files under its tty class.
bool isTerminal(dev_t device) {
    if (major(device) >= 136 && major(device) <= 143) return true;
    const QString sysfs =
        QString("/sys/dev/char/%1:%2/subsystem").arg(major(device)).arg(minor(device));
    return QFileInfo(sysfs).canonicalFilePath().endsWith("/tty");
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
        device.vendorId = info.hasVendorIdentifier() ? info.vendorIdentifier() : 0;
        device.productId = info.hasProductIdentifier() ? info.productIdentifier() : 0;
        device.adapter = isAdapter(info);
        devices.push_back(std::move(device));
    }
    std::stable_sort(devices.begin(), devices.end(), [](const auto& a, const auto& b) {
        return a.adapter != b.adapter ? a.adapter : a.path < b.path;
    });
    return devices;
}

std::optional<std::string> QtSerialDevices::problemWith(const std::string& path) const {
    struct stat status {};
    if (path.empty()) return "No device was given.";
    if (::stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return "There is no device " + path + ".";
        return path + " cannot be used: " + std::strerror(errno) + ".";
    }
    if (S_ISDIR(status.st_mode)) return path + " is a folder, not a serial device.";
    if (!S_ISCHR(status.st_mode) || !isTerminal(status.st_rdev)) {
        return path + " is not a serial device.";
    }
    if (::access(path.c_str(), R_OK | W_OK) != 0) {
        return "Permission to use the serial device " + path +
               " is denied. Your user must be in the dialout group (sudo adduser $USER "
               "dialout); log out and in again for it to take effect.";
    }
    return std::nullopt;
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
