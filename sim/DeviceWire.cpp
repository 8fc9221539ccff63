#include "sim/DeviceWire.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace sim {

namespace {

constexpr std::int64_t kRetryMs = 500;

}  // namespace

DeviceWire::DeviceWire(std::string path, long baud) : path_(std::move(path)), baud_(baud) {
    if (const std::string why = open(); !why.empty()) {
        throw std::runtime_error("cannot open " + path_ + ": " + why);
    }
}

DeviceWire::~DeviceWire() {
    if (fd_ >= 0) ::close(fd_);
}

std::string DeviceWire::open() {
    fd_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return std::strerror(errno);
    termios line{};
    if (::tcgetattr(fd_, &line) != 0) {
        std::string why = std::string("not a terminal: ") + std::strerror(errno);
        ::close(fd_);
        fd_ = -1;
        return why;
    }
    ::cfmakeraw(&line);
    line.c_cflag |= CLOCAL | CREAD;
    ::cfsetspeed(&line, speedCodeOf(baud_));
    ::tcsetattr(fd_, TCSANOW, &line);
    return {};
}

void DeviceWire::drop(Responder& responder) {
    ::close(fd_);
    fd_ = -1;
    nextTry_ = steadyMs() + kRetryMs;
    responder.restart();
    responder.note("the far end of " + path_ + " went away; waiting for it");
}

std::vector<pollfd> DeviceWire::watch() const {
    if (fd_ < 0) return {};
    return {{fd_, POLLIN, 0}};
}

int DeviceWire::untilNextLook() const {
    if (fd_ >= 0) return -1;
    return static_cast<int>(std::max<std::int64_t>(nextTry_ - steadyMs(), 0));
}

std::string DeviceWire::take(const std::vector<pollfd>& ready, Responder& responder) {
    if (fd_ < 0) {
        if (steadyMs() >= nextTry_) {
            if (open().empty()) {
                responder.note("serving on " + path_ + " again");
            } else {
                nextTry_ = steadyMs() + kRetryMs;
            }
        }
        return {};
    }
    const int events = ready.empty() ? 0 : ready.front().revents;
    if (events & (POLLHUP | POLLERR | POLLNVAL)) {
        drop(responder);
        return {};
    }
    if (!(events & POLLIN)) return {};
    char buffer[4096];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n > 0) return std::string(buffer, static_cast<std::size_t>(n));
    if (n == 0 || (errno != EAGAIN && errno != EINTR)) drop(responder);
    return {};
}

void DeviceWire::send(const std::string& bytes) {
    if (fd_ < 0 || bytes.empty()) return;
    [[maybe_unused]] const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
}

}  // namespace sim
