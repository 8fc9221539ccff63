#pragma once
// Where Class 2's status notifications go: the hosts named with --notify,
// and the controller heard in the last five minutes, on PJLink's port 4352
// where controllers listen. Never this host: a controller here would hear
// nothing on port 4352 but the gateway itself.

#include <QHostAddress>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace gateway {

// How long a controller is told of changes after its last request.
inline constexpr std::int64_t kControllerMs = 5LL * 60 * 1000;

struct Place {
    QHostAddress address;
    int port = 0;
    bool operator==(const Place&) const = default;
    std::string shown() const;
};

class Destinations {
  public:
    using Now = std::function<std::int64_t()>;
    using OwnHost = std::function<bool(const QHostAddress&)>;

    Destinations(OwnHost ownHost, Now now);

    // The --notify hosts. One that is the gateway's own UDP socket (this host,
    // a port it listens on) is left out, and said in why.
    void setNamed(const std::vector<Place>& named, const std::vector<int>& ownPorts,
                  std::vector<std::string>& why);
    // A controller's request: it is told for kControllerMs from now, unless
    // it is on this host.
    void heard(const QHostAddress& controller);

    // Who is told now.
    std::vector<Place> places() const;
    bool anyone() const { return !places().empty(); }
    // How long the controller is still told, while there is one.
    std::optional<std::int64_t> controllerLeftMs() const;

  private:
    OwnHost ownHost_;
    Now now_;
    std::vector<Place> named_;
    QHostAddress controller_;
    std::int64_t heardAt_ = 0;
    QHostAddress lastLooked_;  // this host's addresses are not read for each request
    bool lastWasOwn_ = false;
};

// Whether the address is this host's: a loopback address, or one of its
// interfaces'.
bool onThisHost(const QHostAddress& address);

}  // namespace gateway
