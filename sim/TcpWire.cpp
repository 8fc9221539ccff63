#include "sim/TcpWire.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace sim {

namespace {

constexpr std::string_view kInUse = "Port already in use\r\n";

struct Address {
    bool telnet = false;
    std::string host;
    std::string port;
};

Address readListenAddress(const std::string& text) {
    Address address;
    std::string rest;
    if (text.rfind("tcp://", 0) == 0 || text.rfind("socket://", 0) == 0) {
        rest = text.substr(text.find("://") + 3);
    } else if (text.rfind("rfc2217://", 0) == 0) {
        address.telnet = true;
        rest = text.substr(10);
    } else {
        throw std::runtime_error("--listen takes tcp://HOST:PORT or rfc2217://HOST:PORT, not " +
                                 text);
    }
    const auto colon = rest.rfind(':');
    if (colon == std::string::npos || colon + 1 == rest.size()) {
        throw std::runtime_error(text + " has no port");
    }
    address.host = rest.substr(0, colon);
    address.port = rest.substr(colon + 1);
    if (address.host.size() >= 2 && address.host.front() == '[' && address.host.back() == ']') {
        address.host = address.host.substr(1, address.host.size() - 2);
    }
    if (address.host.empty()) throw std::runtime_error(text + " has no host");
    return address;
}

std::string hostText(const sockaddr_storage& where) {
    char text[INET6_ADDRSTRLEN] = {};
    if (where.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(where);
        ::inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        return "[" + std::string(text) + "]";
    }
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(where);
    ::inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    return text;
}

int portOf(const sockaddr_storage& where) {
    if (where.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6&>(where).sin6_port);
    }
    return ntohs(reinterpret_cast<const sockaddr_in&>(where).sin_port);
}

}  // namespace

TcpWire::TcpWire(const std::string& text, long baud) : baud_(baud) {
    const Address address = readListenAddress(text);
    telnet_ = address.telnet;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    if (const int error = ::getaddrinfo(address.host.c_str(), address.port.c_str(), &hints, &found);
        error != 0) {
        throw std::runtime_error("cannot listen on " + text + ": " + ::gai_strerror(error));
    }
    std::string why = "no address";
    for (addrinfo* at = found; at && listener_ < 0; at = at->ai_next) {
        const int fd = ::socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol);
        if (fd < 0) continue;
        const int yes = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(fd, at->ai_addr, at->ai_addrlen) == 0 && ::listen(fd, 4) == 0) {
            listener_ = fd;
        } else {
            why = std::strerror(errno);
            ::close(fd);
        }
    }
    ::freeaddrinfo(found);
    if (listener_ < 0) throw std::runtime_error("cannot listen on " + text + ": " + why);
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&bound), &length);
    where_ = std::string(telnet_ ? "rfc2217://" : "tcp://") + hostText(bound) + ":" +
             std::to_string(portOf(bound));
}

TcpWire::~TcpWire() {
    if (client_ >= 0) ::close(client_);
    if (listener_ >= 0) ::close(listener_);
}

std::vector<pollfd> TcpWire::watch() const {
    std::vector<pollfd> fds{{listener_, POLLIN, 0}};
    if (client_ >= 0) fds.push_back({client_, POLLIN, 0});
    return fds;
}

void TcpWire::accept(Responder& responder) {
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    const int fd = ::accept4(listener_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
    if (fd < 0) return;
    const std::string who = hostText(peer) + ":" + std::to_string(portOf(peer));
    if (client_ >= 0) {
        [[maybe_unused]] const ssize_t told =
            ::send(fd, kInUse.data(), kInUse.size(), MSG_NOSIGNAL);
        ::close(fd);
        responder.note("refused a second client, " + who + ": in use");
        return;
    }
    client_ = fd;
    responder.restart();
    responder.note("client " + who + " connected");
    if (telnet_) {
        session_.emplace(telnet::LineSettings{static_cast<std::uint32_t>(baud_)});
        sendRaw(session_->start());
    }
}

void TcpWire::hangUp(Responder& responder, const std::string& why) {
    ::close(client_);
    client_ = -1;
    session_.reset();
    responder.restart();
    responder.note("client " + why);
}

std::string TcpWire::take(const std::vector<pollfd>& ready, Responder& responder) {
    std::string heard;
    for (const pollfd& fd : ready) {
        if (fd.fd == listener_ && (fd.revents & POLLIN)) accept(responder);
        if (fd.fd != client_ || client_ < 0 || fd.revents == 0) continue;
        char buffer[4096];
        const ssize_t n = ::recv(client_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            hangUp(responder, "disconnected");
            continue;
        }
        if (n < 0) continue;
        const std::string bytes(buffer, static_cast<std::size_t>(n));
        if (!session_) {
            heard += bytes;
            continue;
        }
        telnet::ComPortServer::Received in = session_->receive(bytes);
        sendRaw(in.reply);
        if (in.lineChanged) {
            responder.note("the client set the line to " + std::to_string(session_->line().baud) +
                           " baud");
        }
        heard += in.data;
    }
    return heard;
}

void TcpWire::sendRaw(const std::string& bytes) {
    std::size_t done = 0;
    while (client_ >= 0 && done < bytes.size()) {
        const ssize_t n = ::send(client_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
}

void TcpWire::send(const std::string& bytes) {
    if (client_ < 0 || bytes.empty()) return;
    sendRaw(session_ ? session_->encode(bytes) : bytes);
}

long TcpWire::panelBaud() const {
    return session_ ? static_cast<long>(session_->line().baud) : 0;
}

}  // namespace sim
