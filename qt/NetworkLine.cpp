#include "qt/NetworkLine.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>

namespace toolkit::qt {

namespace {

// Held back while a new connection settles; a server's refusal is shorter.
constexpr std::size_t kSettleHoldLimit = 4096;

// A dead peer is noticed within about a minute: keep-alive probes after 15 s
// of silence, every 5 s, 6 unanswered; data unacknowledged for 45 s also ends
// the connection.
constexpr int kKeepIdleS = 15;
constexpr int kKeepIntervalS = 5;
constexpr int kKeepCount = 6;
constexpr unsigned kUserTimeoutMs = 45'000;

telnet::LineSettings lineSettingsOf(const SerialSettings& settings) {
    telnet::LineSettings line;
    line.baud = static_cast<std::uint32_t>(settings.baud);
    line.dataSize = static_cast<unsigned char>(settings.dataBits);
    line.parity = rfc2217Code(settings.parity);
    line.stopSize = rfc2217Code(settings.stopBits);
    return line;
}

// "9600,N,8,1", as the panel writes settings; "?" where the server gave a
// code RFC 2217 does not define.
std::string textOf(const telnet::LineSettings& line) {
    const auto parity = parityOfRfc2217(line.parity);
    const auto stopBits = stopBitsOfRfc2217(line.stopSize);
    if (!parity || !stopBits) {
        return std::to_string(line.baud) + ",?," + std::to_string(line.dataSize) + ",?";
    }
    return settingsText({static_cast<int>(line.baud), *parity, line.dataSize, *stopBits});
}

// The words a busy server said, on one line, printable.
std::string saidOf(const std::string& bytes) {
    std::string said;
    for (const char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 0x20 && code < 0x7F) {
            said += c;
        } else if ((c == '\r' || c == '\n') && !said.empty() && said.back() != ' ') {
            said += ' ';
        }
    }
    while (!said.empty() && said.back() == ' ') said.pop_back();
    return said.substr(0, 200);
}

// ser2net says "Port already in use"; other servers say busy.
bool saysBusy(const std::string& said) {
    const QString text = QString::fromStdString(said);
    return text.contains("in use", Qt::CaseInsensitive) ||
           text.contains("busy", Qt::CaseInsensitive);
}

}  // namespace

NetworkLine::NetworkLine(std::string device, NetworkAddress address, Events events)
    : device_(std::move(device)), address_(std::move(address)), events_(std::move(events)) {
    if (address_.protocol == NetworkAddress::Protocol::Rfc2217) telnet_.emplace();
    deadline_.setSingleShot(true);
    settle_.setSingleShot(true);
    QObject::connect(&deadline_, &QTimer::timeout, [this] {
        if (stage_ != Stage::Waiting && stage_ != Stage::Connecting) return;
        stage_ = Stage::Ended;
        socket_.abort();
        events_.openFailed(
            fault(Fault::Kind::TimedOut, std::to_string(kConnectTimeoutMs / 1000) + " seconds"));
    });
    QObject::connect(&settle_, &QTimer::timeout, [this] { settled(); });
    QObject::connect(&socket_, &QTcpSocket::connected, [this] { connected(); });
    QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { readIncoming(); });
    QObject::connect(&socket_, &QTcpSocket::errorOccurred,
                     [this](QAbstractSocket::SocketError error) { ended(error); });
    QObject::connect(&socket_, &QTcpSocket::disconnected,
                     [this] { ended(QAbstractSocket::RemoteHostClosedError); });
}

// A raw TCP server takes every telnet command for data and passes it to the
// projector: once the connection counts as open, none more goes to a server
// that has not answered in telnet (one that does later is spoken to again).
bool NetworkLine::speaksTelnet() const {
    return telnet_ && (stage_ == Stage::Waiting || stage_ == Stage::Connecting ||
                       stage_ == Stage::Settling || telnet_->heardTelnet());
}

NetworkLine::~NetworkLine() {
    QObject::disconnect(&socket_, nullptr, nullptr, nullptr);
    socket_.abort();
}

Fault NetworkLine::fault(Fault::Kind kind, std::string detail) const {
    return faultOf(kind, device_, std::move(detail));
}

// The connection starts from the event loop: an open given up at once (as
// the start-up's first open is) never reaches the network.
bool NetworkLine::open(const SerialSettings& settings, const std::string& text) {
    wanted_ = lineSettingsOf(settings);
    wantedText_ = text;
    deadline_.start(kConnectTimeoutMs);
    QTimer::singleShot(0, &socket_, [this] { connectNow(); });
    return false;
}

void NetworkLine::connectNow() {
    if (stage_ != Stage::Waiting) return;
    stage_ = Stage::Connecting;
    socket_.connectToHost(QString::fromStdString(address_.host),
                          static_cast<quint16>(address_.port));
}

void NetworkLine::connected() {
    stage_ = Stage::Settling;
    deadline_.stop();
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket_.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const auto descriptor = static_cast<int>(socket_.socketDescriptor());
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepIdleS, sizeof kKeepIdleS);
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepIntervalS, sizeof kKeepIntervalS);
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPCNT, &kKeepCount, sizeof kKeepCount);
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_USER_TIMEOUT, &kUserTimeoutMs, sizeof kUserTimeoutMs);
    if (telnet_)
        socket_.write(QByteArray::fromStdString(telnet_->start() + telnet_->request(wanted_)));
    settle_.start(kSettleMs);
}

void NetworkLine::settled() {
    if (stage_ != Stage::Settling) return;
    stage_ = Stage::Open;
    settle_.stop();
    events_.opened();
    for (Fault& held : heldNotices_) events_.notice(std::move(held));
    heldNotices_.clear();
    if (telnet_ && !speaksTelnet()) events_.notice(fault(Fault::Kind::NotRfc2217));
    // What arrived while settling goes out after the news of the open.
    QTimer::singleShot(0, &socket_, [this] {
        if (stage_ == Stage::Open && !inbox_.empty()) events_.received();
    });
}

void NetworkLine::notice(Fault fault) {
    if (stage_ == Stage::Open) {
        events_.notice(std::move(fault));
    } else {
        heldNotices_.push_back(std::move(fault));
    }
}

void NetworkLine::readIncoming() {
    const QByteArray bytes = socket_.readAll();
    if (stage_ == Stage::Ended) return;
    std::string data;
    if (telnet_) {
        telnet::ComPortClient::Received in = telnet_->receive(bytes.toStdString());
        if (!in.reply.empty()) socket_.write(QByteArray::fromStdString(in.reply));
        if (in.refused) notice(fault(Fault::Kind::NoRemoteSettings));
        if (in.differs) {
            Fault differs = fault(Fault::Kind::SettingsDiffer, textOf(*in.differs));
            differs.settings = wantedText_;
            notice(std::move(differs));
        }
        data = std::move(in.data);
    } else {
        data = bytes.toStdString();
    }
    inbox_ += data;
    if (stage_ == Stage::Settling && inbox_.size() > kSettleHoldLimit) settled();
    if (stage_ == Stage::Open && !data.empty()) events_.received();
}

void NetworkLine::ended(QAbstractSocket::SocketError error) {
    const Stage stage = std::exchange(stage_, Stage::Ended);
    deadline_.stop();
    settle_.stop();
    const std::string detail = socket_.errorString().toStdString();
    switch (stage) {
        case Stage::Ended:
            return;
        case Stage::Open: {
            const bool closedByServer = error == QAbstractSocket::RemoteHostClosedError;
            Fault lost = fault(Fault::Kind::Lost, closedByServer ? "" : detail);
            lost.closedByServer = closedByServer;
            events_.lost(std::move(lost));
            return;
        }
        case Stage::Settling:
            if (error == QAbstractSocket::RemoteHostClosedError) {
                const std::string said = saidOf(inbox_);
                events_.openFailed(
                    fault(saysBusy(said) ? Fault::Kind::Busy : Fault::Kind::ClosedAtOnce, said));
                return;
            }
            break;
        case Stage::Waiting:
        case Stage::Connecting:
            break;
    }
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            events_.openFailed(fault(Fault::Kind::Refused));
            break;
        case QAbstractSocket::HostNotFoundError:
            events_.openFailed(fault(Fault::Kind::NoSuchHost));
            break;
        case QAbstractSocket::SocketTimeoutError:
            events_.openFailed(fault(Fault::Kind::TimedOut,
                                     std::to_string(kConnectTimeoutMs / 1000) + " seconds"));
            break;
        case QAbstractSocket::NetworkError:
            events_.openFailed(fault(Fault::Kind::Unreachable, detail));
            break;
        default:
            events_.openFailed(fault(Fault::Kind::CannotOpen, detail));
            break;
    }
}

void NetworkLine::apply(const SerialSettings& settings, const std::string& text) {
    wanted_ = lineSettingsOf(settings);
    wantedText_ = text;
    if (!speaksTelnet() || (stage_ != Stage::Settling && stage_ != Stage::Open)) return;
    const std::string request = telnet_->request(wanted_);
    if (!request.empty()) socket_.write(QByteArray::fromStdString(request));
}

void NetworkLine::write(const std::string& bytes) {
    if (stage_ == Stage::Ended) throw SerialError(fault(Fault::Kind::Lost));
    if (stage_ != Stage::Open) throw SerialError(fault(Fault::Kind::Connecting));
    const std::string wire = speaksTelnet() ? telnet_->encode(bytes) : bytes;
    if (socket_.write(wire.data(), static_cast<qint64>(wire.size())) !=
        static_cast<qint64>(wire.size())) {
        throw SerialError(fault(Fault::Kind::SendFailed, socket_.errorString().toStdString()));
    }
}

std::string NetworkLine::readAll() {
    return std::exchange(inbox_, {});
}

}  // namespace toolkit::qt
