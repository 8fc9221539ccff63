#include "qt/QtSerialPort.h"

#include <unistd.h>

#include <QTimer>
#include <cerrno>

#include "qt/QtSerialDevices.h"

namespace toolkit::qt {

namespace {

QSerialPort::Parity parityOf(SerialSettings::Parity parity) {
    switch (parity) {
        case SerialSettings::Parity::Even:
            return QSerialPort::EvenParity;
        case SerialSettings::Parity::Odd:
            return QSerialPort::OddParity;
        case SerialSettings::Parity::Mark:
            return QSerialPort::MarkParity;
        case SerialSettings::Parity::Space:
            return QSerialPort::SpaceParity;
        case SerialSettings::Parity::None:
            break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits stopBitsOf(SerialSettings::StopBits stopBits) {
    switch (stopBits) {
        case SerialSettings::StopBits::OneAndHalf:
            return QSerialPort::OneAndHalfStop;
        case SerialSettings::StopBits::Two:
            return QSerialPort::TwoStop;
        case SerialSettings::StopBits::One:
            break;
    }
    return QSerialPort::OneStop;
}

}  // namespace

QtSerialPort::QtSerialPort() {
    settings_ = *readSerialSettings(settingsText_);
    QObject::connect(&port_, &QSerialPort::readyRead, [this] {
        commEvent_ = CommEventReceive;
        if (handler_) handler_();
    });
    QObject::connect(&port_, &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError error) { failed(error); });
}

std::string QtSerialPort::deviceOf(int number) const {
    const auto mapped = devices_.find(number);
    return mapped != devices_.end() ? mapped->second : builtInPort(number);
}

void QtSerialPort::setCommPort(int number) {
    if (port_.isOpen()) throw SerialError("The port number cannot change while the port is open.");
    number_ = number;
    lost_.clear();
}

void QtSerialPort::setSettings(const std::string& text) {
    const auto settings = readSerialSettings(text);
    if (!settings) {
        throw SerialError("The serial settings \"" + text +
                          "\" cannot be read. They must look like 19200,N,8,1: speed, "
                          "parity (N, E, O, M or S), data bits (5 to 8), stop bits (1, 1.5 or 2).");
    }
    if (port_.isOpen() && !apply(*settings)) {
        const std::string reason = port_.errorString().toStdString();
        apply(settings_);
        throw SerialError("The serial settings \"" + text + "\" cannot be used on " +
                          deviceOf(number_) + ": " + reason + ".");
    }
    settingsText_ = text;
    settings_ = *settings;
}

bool QtSerialPort::apply(const SerialSettings& settings) {
    return port_.setBaudRate(settings.baud) &&
           port_.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) &&
           port_.setParity(parityOf(settings.parity)) &&
           port_.setStopBits(stopBitsOf(settings.stopBits)) &&
           port_.setFlowControl(QSerialPort::NoFlowControl);
}

std::string QtSerialPort::describeOpenFailure() const {
    const std::string device = deviceOf(number_);
    const std::string port = "COM" + std::to_string(number_);
    switch (port_.error()) {
        case QSerialPort::DeviceNotFoundError:
            return "There is no serial device " + device + " (" + port + ").";
        case QSerialPort::UnsupportedOperationError:
            return device + " (" + port + ") is not a serial device.";
        case QSerialPort::PermissionError:
            if (::access(device.c_str(), R_OK | W_OK) != 0) {
                return "Permission to use the serial device " + device + " (" + port +
                       ") is denied. Your user must be in the dialout group (sudo adduser $USER "
                       "dialout); log out and in again for it to take effect.";
            }
            return "The serial device " + device + " (" + port +
                   ") is in use by another program. Close that program and try again.";
        default:
            return "The serial device " + device + " (" + port +
                   ") cannot be opened: " + port_.errorString().toStdString() + ".";
    }
}

void QtSerialPort::setPortOpen(bool open) {
    if (!open) {
        if (port_.isOpen()) port_.close();
        return;
    }
    if (port_.isOpen()) throw SerialError("The serial port is already open.");
    port_.setPortName(QString::fromStdString(deviceOf(number_)));
    if (!port_.open(QIODevice::ReadWrite)) throw SerialError(describeOpenFailure());
    lost_.clear();
    commEvent_ = CommEventNone;
    if (!apply(settings_)) {
        const std::string reason = port_.errorString().toStdString();
        port_.close();
        throw SerialError("The serial settings \"" + settingsText_ + "\" cannot be used on " +
                          deviceOf(number_) + ": " + reason + ".");
    }
}

bool QtSerialPort::devicePresent() const {
    return ::access(deviceOf(number_).c_str(), F_OK) == 0 || errno != ENOENT;
}

void QtSerialPort::output(const std::string& bytes) {
    const std::string port = "COM" + std::to_string(number_);
    if (!port_.isOpen()) {
        if (!lost_.empty()) throw SerialError(lost_);
        throw SerialError("Nothing was sent: the serial port " + port + " (" + deviceOf(number_) +
                          ") is closed. Choose a port under COM.");
    }
    const qint64 written = port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (written != static_cast<qint64>(bytes.size())) {
        throw SerialError("Sending on " + deviceOf(number_) +
                          " failed: " + port_.errorString().toStdString());
    }
    port_.flush();
    // A device that failed while taking the line has been closed by now.
    if (!port_.isOpen()) throw SerialError(lost_);
}

std::string QtSerialPort::input() {
    return port_.readAll().toStdString();
}

// A device that went away (adapter unplugged, peer hung up) reads as
// end-of-file or fails for ever and would keep the event loop spinning;
// close it instead. The loss is reported from the event loop, not from
// inside whatever QSerialPort was doing when it found out.
void QtSerialPort::failed(QSerialPort::SerialPortError error) {
    const bool lost = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                      error == QSerialPort::WriteError;
    if (!lost || !port_.isOpen()) return;
    lost_ = "Nothing was sent: the serial device " + deviceOf(number_) + " (COM" +
            std::to_string(number_) +
            ") is lost. The panel connects again by itself as soon as it is back; to use "
            "another port, choose it under COM.";
    port_.close();
    commEvent_ = CommEventLost;
    QTimer::singleShot(0, &port_, [this] {
        if (commEvent_ == CommEventLost && handler_) handler_();
    });
}

}  // namespace toolkit::qt
