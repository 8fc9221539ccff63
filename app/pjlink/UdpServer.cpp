#include "app/pjlink/UdpServer.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>

#include "app/pjlink/PjlinkServer.h"

namespace gateway {

namespace {

constexpr std::string_view kSearch = "%2SRCH";
const QString kNoMac = "00:00:00:00:00:00";

QString macOf(const QNetworkInterface& interface) {
    const QString mac = interface.hardwareAddress().toUpper();
    return mac.size() == kNoMac.size() ? mac : kNoMac;
}

// The MAC address of the interface a datagram came in on.
QString macOfArrival(const QNetworkDatagram& datagram) {
    if (datagram.interfaceIndex() != 0) {
        return macOf(
            QNetworkInterface::interfaceFromIndex(static_cast<int>(datagram.interfaceIndex())));
    }
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (entry.ip() == datagram.destinationAddress()) return macOf(interface);
        }
    }
    return kNoMac;
}

// The MAC address of the interface a destination is reached through: the
// one on its subnet, else the first that has one.
QString macTowards(const QHostAddress& destination) {
    QString first;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (destination.isInSubnet(entry.ip(), entry.prefixLength())) return macOf(interface);
        }
        if (first.isEmpty() && macOf(interface) != kNoMac) first = macOf(interface);
    }
    return first.isEmpty() ? kNoMac : first;
}

}  // namespace

UdpServer::UdpServer(int port, Log log) : port_(port), log_(std::move(log)) {}

std::optional<Endpoint> UdpServer::listen(const Endpoint& endpoint, std::string& why) {
    auto socket = std::make_unique<QUdpSocket>();
    const QHostAddress address = addressOf(endpoint);
    if (!socket->bind(address, static_cast<quint16>(endpoint.port))) {
        why = socket->errorString().toStdString();
        return std::nullopt;
    }
    QUdpSocket& bound = *socket;
    connect(&bound, &QUdpSocket::readyRead, this, [this, &bound] { readSearches(bound); });
    sockets_.push_back(std::move(socket));
    Endpoint listening = endpoint;
    listening.port = bound.localPort();
    return listening;
}

void UdpServer::addDestination(const Endpoint& endpoint) {
    destinations_.push_back(endpoint);
}

void UdpServer::setController(const QHostAddress& address) {
    if (address == lastController_) return;  // the interfaces are not read for each command
    lastController_ = address;
    // A controller on this host's own address would hear nothing on the
    // gateway's port but the gateway: nothing goes there.
    controller_ = QNetworkInterface::allAddresses().contains(address) ? QHostAddress() : address;
}

void UdpServer::readSearches(QUdpSocket& socket) {
    while (socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket.receiveDatagram(512);
        QByteArray text = datagram.data();
        while (text.endsWith('\r') || text.endsWith('\n')) text.chop(1);
        if (text.toUpper() != QByteArray(kSearch.data(), kSearch.size())) continue;
        const std::string answer = "%2ACKN=" + macOfArrival(datagram).toStdString() + "\r";
        log_("SEARCH from " + datagram.senderAddress().toString().toStdString() + " < " +
             answer.substr(0, answer.size() - 1));
        // To the PJLink port of the searcher, where controllers listen.
        send(answer, datagram.senderAddress(), port_);
    }
}

void UdpServer::notify(const std::string& line) {
    for (const Endpoint& destination : destinations_) {
        send(line, addressOf(destination), destination.port);
    }
    if (!controller_.isNull()) send(line, controller_, port_);
    log_("NOTIFIED " + line.substr(0, line.size() - 1));
}

void UdpServer::linkUp() {
    for (const Endpoint& destination : destinations_) {
        const QHostAddress address = addressOf(destination);
        send("%2LKUP=" + macTowards(address).toStdString() + "\r", address, destination.port);
    }
}

void UdpServer::send(const std::string& line, const QHostAddress& address, int port) {
    if (sockets_.empty()) return;
    // From the socket of the same family, so that the controller sees the
    // gateway's own port.
    QUdpSocket* from = sockets_.front().get();
    for (const auto& socket : sockets_) {
        if (socket->localAddress().protocol() == address.protocol()) from = socket.get();
    }
    from->writeDatagram(line.data(), static_cast<qint64>(line.size()), address,
                        static_cast<quint16>(port));
}

}  // namespace gateway
