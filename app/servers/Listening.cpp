#include "app/servers/Listening.h"

namespace gateway {

std::string Endpoint::shown() const {
    if (host.empty()) return "*:" + std::to_string(port);
    if (host.find(':') != std::string::npos) return "[" + host + "]:" + std::to_string(port);
    return host + ":" + std::to_string(port);
}

QHostAddress addressOf(const Endpoint& endpoint) {
    if (endpoint.host.empty()) return QHostAddress(QHostAddress::Any);
    if (endpoint.host == "localhost") return QHostAddress(QHostAddress::LocalHost);
    return QHostAddress(QString::fromStdString(endpoint.host));
}

toolkit::Result<Endpoint> listenOn(QTcpServer& server, const Endpoint& endpoint) {
    const QHostAddress address = addressOf(endpoint);
    if (address.isNull()) {
        return toolkit::failure("\"" + endpoint.host + "\" is not an address of this machine");
    }
    if (!server.listen(address, static_cast<quint16>(endpoint.port))) {
        return toolkit::failure(server.errorString().toStdString());
    }
    Endpoint listening = endpoint;
    listening.port = server.serverPort();
    return listening;
}

std::string hostOf(const QHostAddress& address) {
    bool v4 = false;
    const quint32 ipv4 = address.toIPv4Address(&v4);
    return (v4 ? QHostAddress(ipv4).toString() : address.toString()).toStdString();
}

}  // namespace gateway
