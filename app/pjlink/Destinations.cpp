#include "app/pjlink/Destinations.h"

#include <QNetworkInterface>
#include <algorithm>

#include "pjlink/Protocol.h"

namespace gateway {

std::string Place::shown() const {
    bool v4 = false;
    const quint32 ipv4 = address.toIPv4Address(&v4);
    const QString host = v4 ? QHostAddress(ipv4).toString() : "[" + address.toString() + "]";
    return host.toStdString() + ":" + std::to_string(port);
}

bool onThisHost(const QHostAddress& address) {
    if (address.isLoopback()) return true;
    bool v4 = false;
    const quint32 ipv4 = address.toIPv4Address(&v4);
    const QHostAddress plain = v4 ? QHostAddress(ipv4) : address;
    return QNetworkInterface::allAddresses().contains(plain);
}

Destinations::Destinations(OwnHost ownHost, Now now)
    : ownHost_(std::move(ownHost)), now_(std::move(now)) {}

void Destinations::setNamed(const std::vector<Place>& named, const std::vector<int>& ownPorts,
                            std::vector<std::string>& why) {
    named_.clear();
    for (const Place& place : named) {
        const bool own = std::find(ownPorts.begin(), ownPorts.end(), place.port) != ownPorts.end();
        if (own && ownHost_(place.address)) {
            why.push_back("--notify " + place.shown() +
                          " is this gateway's own port: nothing is sent there");
            continue;
        }
        named_.push_back(place);
    }
}

void Destinations::heard(const QHostAddress& controller) {
    if (controller != lastLooked_) {
        lastLooked_ = controller;
        lastWasOwn_ = ownHost_(controller);
    }
    if (lastWasOwn_) return;
    controller_ = controller;
    heardAt_ = now_();
}

std::optional<std::int64_t> Destinations::controllerLeftMs() const {
    if (controller_.isNull()) return std::nullopt;
    const std::int64_t left = heardAt_ + kControllerMs - now_();
    return left > 0 ? std::optional(left) : std::nullopt;
}

std::vector<Place> Destinations::places() const {
    std::vector<Place> places = named_;
    if (controllerLeftMs()) {
        const Place controller{controller_, pjlink::kPort};
        if (std::find(places.begin(), places.end(), controller) == places.end()) {
            places.push_back(controller);
        }
    }
    return places;
}

}  // namespace gateway
