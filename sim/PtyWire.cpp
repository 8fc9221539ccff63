#include "sim/PtyWire.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace sim {

namespace {

// The panel counts as gone when its end has stayed closed this long after it
// was first opened: long enough for the panel to close and reopen.
constexpr std::int64_t kGoneAfterMs = 2000;

}  // namespace

PtyWire::PtyWire(std::string link, long baud) : link_(std::move(link)) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        throw std::runtime_error(std::string("cannot open a pseudo-terminal: ") +
                                 std::strerror(errno));
    }
    device_ = ::ptsname(master_);
    // Raw from the start: no echo, no line editing, CR left alone.
    if (const int slave = ::open(device_.c_str(), O_RDWR | O_NOCTTY); slave >= 0) {
        termios raw{};
        ::tcgetattr(slave, &raw);
        ::cfmakeraw(&raw);
        ::cfsetspeed(&raw, speedCodeOf(baud));
        ::tcsetattr(slave, TCSANOW, &raw);
        ::close(slave);
    }
    if (!link_.empty()) {
        ::unlink(link_.c_str());
        if (::symlink(device_.c_str(), link_.c_str()) != 0) {
            const std::string why = std::strerror(errno);
            ::close(master_);
            throw std::runtime_error("cannot make the link " + link_ + ": " + why);
        }
    }
}

PtyWire::~PtyWire() {
    if (!link_.empty()) ::unlink(link_.c_str());
    if (master_ >= 0) ::close(master_);
}

std::vector<pollfd> PtyWire::watch() const {
    return {{master_, POLLIN, 0}};
}

std::string PtyWire::take(const std::vector<pollfd>& ready, Responder& responder) {
    const int events = ready.empty() ? 0 : ready.front().revents;
    if (events & POLLHUP) {
        // Nobody has the device open: wait without spinning.
        if (connected_ && closedSince_ < 0) closedSince_ = steadyMs();
        if (connected_ && steadyMs() - closedSince_ >= kGoneAfterMs) gone_ = true;
        responder.restart();
        ::usleep(50'000);
        return {};
    }
    connected_ = true;
    closedSince_ = -1;
    if (!(events & POLLIN)) return {};
    char buffer[4096];
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

void PtyWire::send(const std::string& bytes) {
    if (!bytes.empty()) [[maybe_unused]]
        const ssize_t written = ::write(master_, bytes.data(), bytes.size());
}

long PtyWire::panelBaud() const {
    termios line{};
    if (::tcgetattr(master_, &line) != 0) return 0;
    return baudOf(static_cast<unsigned>(::cfgetospeed(&line)));
}

}  // namespace sim
