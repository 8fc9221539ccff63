#include "app/pjlink/UdpServer.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>

#include "app/servers/Listening.h"
#include "pjlink/Protocol.h"

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

std::string withoutCr(const std::string& line) {
    return line.ends_with('\r') ? line.substr(0, line.size() - 1) : line;
}

}  // namespace

UdpServer::UdpServer(Destinations& destinations, Journal journal)
    : destinations_(destinations), journal_(std::move(journal)) {
    controllerEnds_.setSingleShot(true);
    connect(&controllerEnds_, &QTimer::timeout, this, [this] { watchController(); });
}

toolkit::Result<Endpoint> UdpServer::listen(const Endpoint& endpoint) {
    auto socket = std::make_unique<QUdpSocket>();
    if (!socket->bind(addressOf(endpoint), static_cast<quint16>(endpoint.port))) {
        return toolkit::failure(socket->errorString().toStdString());
    }
    QUdpSocket& bound = *socket;
    connect(&bound, &QUdpSocket::readyRead, this, [this, &bound] { readSearches(bound); });
    sockets_.push_back(std::move(socket));
    Endpoint listening = endpoint;
    listening.port = bound.localPort();
    return listening;
}

std::vector<int> UdpServer::ports() const {
    std::vector<int> ports;
    for (const auto& socket : sockets_) ports.push_back(socket->localPort());
    return ports;
}

void UdpServer::heard(const QHostAddress& controller) {
    const bool before = destinations_.anyone();
    destinations_.heard(controller);
    watchController();
    if (before != destinations_.anyone() && changed_) changed_();
}

// The controller's time runs out unless it is heard again meanwhile.
void UdpServer::watchController() {
    if (const auto left = destinations_.controllerLeftMs()) {
        controllerEnds_.start(static_cast<int>(*left + 1));
        return;
    }
    controllerEnds_.stop();
    if (changed_) changed_();
}

void UdpServer::readSearches(QUdpSocket& socket) {
    while (socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket.receiveDatagram(512);
        QByteArray text = datagram.data();
        while (text.endsWith('\r') || text.endsWith('\n')) text.chop(1);
        if (text.toUpper() != QByteArray(kSearch.data(), kSearch.size())) continue;
        const std::string answer = "%2ACKN=" + macOfArrival(datagram).toStdString() + "\r";
        // To PJLink's port of the searcher, where controllers listen.
        const Place searcher{datagram.senderAddress(), pjlink::kPort};
        journal_.detail("SEARCH from " + searcher.shown() + " < " + withoutCr(answer));
        send(answer, searcher);
    }
}

void UdpServer::notify(const std::string& line) {
    std::string to;
    for (const Place& place : destinations_.places()) {
        send(line, place);
        to += (to.empty() ? "" : ", ") + place.shown();
    }
    if (!to.empty()) journal_.detail("NOTIFIED " + withoutCr(line) + " to " + to);
}

void UdpServer::linkUp() {
    for (const Place& place : destinations_.places()) {
        send("%2LKUP=" + macTowards(place.address).toStdString() + "\r", place);
    }
}

void UdpServer::send(const std::string& line, const Place& place) {
    if (sockets_.empty()) return;
    // From the socket of the same family, so that the controller sees the
    // gateway's own port.
    QUdpSocket* from = sockets_.front().get();
    for (const auto& socket : sockets_) {
        if (socket->localAddress().protocol() == place.address.protocol()) from = socket.get();
    }
    from->writeDatagram(line.data(), static_cast<qint64>(line.size()), place.address,
                        static_cast<quint16>(place.port));
}

}  // namespace gateway
