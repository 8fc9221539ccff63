#include "qt/SerialLine.h"

#include "qt/DeviceChecks.h"

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

SerialLine::SerialLine(std::string path, Events events)
    : path_(std::move(path)), events_(std::move(events)) {
    QObject::connect(&port_, &QSerialPort::readyRead, [this] { events_.received(); });
    QObject::connect(&port_, &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError error) { failed(error); });
}

Fault SerialLine::fault(Fault::Kind kind, std::string detail) const {
    return faultOf(kind, path_, std::move(detail));
}

bool SerialLine::open(const SerialSettings& settings, const std::string& text) {
    if (auto problem = pathProblem(path_)) throw SerialError(*problem);
    port_.setPortName(QString::fromStdString(path_));
    if (!port_.open(QIODevice::ReadWrite)) {
        switch (port_.error()) {
            case QSerialPort::DeviceNotFoundError:
                throw SerialError(fault(Fault::Kind::NoSuchDevice));
            case QSerialPort::PermissionError:
                // The checks found that this user may use it: so something holds it.
                throw SerialError(fault(Fault::Kind::InUse));
            default:
                throw SerialError(
                    fault(Fault::Kind::CannotOpen, port_.errorString().toStdString()));
        }
    }
    if (const auto holder = holdDevice(static_cast<int>(port_.handle()), path_)) {
        port_.close();
        Fault held = fault(Fault::Kind::InUse);
        held.holder = *holder;
        throw SerialError(held);
    }
    if (!configure(settings)) {
        Fault refused = fault(Fault::Kind::BadSettings, port_.errorString().toStdString());
        refused.settings = text;
        port_.close();
        throw SerialError(refused);
    }
    return true;
}

bool SerialLine::configure(const SerialSettings& settings) {
    return port_.setBaudRate(settings.baud) &&
           port_.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) &&
           port_.setParity(parityOf(settings.parity)) &&
           port_.setStopBits(stopBitsOf(settings.stopBits)) &&
           port_.setFlowControl(QSerialPort::NoFlowControl);
}

void SerialLine::apply(const SerialSettings& settings, const std::string& text) {
    if (configure(settings)) return;
    Fault refused = fault(Fault::Kind::BadSettings, port_.errorString().toStdString());
    refused.settings = text;
    throw SerialError(refused);
}

void SerialLine::write(const std::string& bytes) {
    if (!port_.isOpen()) throw SerialError(fault(Fault::Kind::Lost));
    const qint64 written = port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (written != static_cast<qint64>(bytes.size())) {
        throw SerialError(fault(Fault::Kind::SendFailed, port_.errorString().toStdString()));
    }
    port_.flush();
    // A device that failed while taking the line has been closed by now.
    if (!port_.isOpen()) throw SerialError(fault(Fault::Kind::Lost));
}

std::string SerialLine::readAll() {
    return port_.readAll().toStdString();
}

// A device that went away (adapter unplugged, peer hung up) reads as
// end-of-file or fails for ever and would keep the event loop spinning;
// close it instead.
void SerialLine::failed(QSerialPort::SerialPortError error) {
    const bool lost = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                      error == QSerialPort::WriteError;
    if (!lost || !port_.isOpen()) return;
    port_.close();
    events_.lost(fault(Fault::Kind::Lost));
}

}  // namespace toolkit::qt
