#include "tests/support/NetworkPeers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>
#include <stdexcept>

#include "tests/support/PtyPeer.h"

namespace {

constexpr const char* kSer2net = "/usr/sbin/ser2net";

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int boundPort(int fd) {
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    return ntohs(bound.sin_port);
}

}  // namespace

int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in any = loopback(0);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
        throw std::runtime_error("cannot bind");
    }
    const int port = boundPort(fd);
    ::close(fd);
    return port;
}

StalledListener::StalledListener() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in any = loopback(0);
    if (::bind(listener_, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0 ||
        ::listen(listener_, 0) != 0) {
        throw std::runtime_error("cannot listen");
    }
    port_ = boundPort(listener_);
    const sockaddr_in to = loopback(port_);
    for (int i = 0; i < 3; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        // Under way, or queued: either way it fills the queue.
        [[maybe_unused]] const int started =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        queued_.push_back(fd);
    }
}

StalledListener::~StalledListener() {
    for (const int fd : queued_) ::close(fd);
    ::close(listener_);
}

Ser2net::Ser2net(Mode mode, const std::string& device, const std::string& lineSettings)
    : mode_(mode), port_(freePort()) {
    QFile config(folder_.filePath("ser2net.yaml"));
    config.open(QIODevice::WriteOnly);
    const std::string accepter = mode == Mode::Rfc2217 ? "telnet(rfc2217),tcp" : "tcp";
    const std::string yaml =
        "connection: &projector\n"
        "  accepter: " +
        accepter + ",127.0.0.1," + std::to_string(port_) +
        "\n"
        "  connector: serialdev," +
        device + "," + lineSettings +
        ",local\n"
        "  options:\n"
        "    kickolduser: false\n";
    config.write(yaml.data(), static_cast<qint64>(yaml.size()));
    config.close();
    process_.setProcessChannelMode(QProcess::MergedChannels);
}

Ser2net::~Ser2net() {
    stop();
}

bool Ser2net::installed() {
    return QFileInfo(kSer2net).isExecutable();
}

std::string Ser2net::address() const {
    return std::string(mode_ == Mode::Rfc2217 ? "rfc2217" : "tcp") +
           "://127.0.0.1:" + std::to_string(port_);
}

bool Ser2net::start() {
    process_.start(kSer2net, {"-n", "-u", "-c", folder_.filePath("ser2net.yaml"), "-P",
                              folder_.filePath("ser2net.pid")});
    if (!process_.waitForStarted(5'000)) return false;
    // Up once it accepts; the probe connection goes at once, which ser2net
    // takes as a client come and gone.
    return waitFor([this] {
        QTcpSocket probe;
        probe.connectToHost("127.0.0.1", static_cast<quint16>(port_));
        const bool up = probe.waitForConnected(100);
        probe.abort();
        return up;
    });
}

void Ser2net::stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5'000)) process_.kill();
}
