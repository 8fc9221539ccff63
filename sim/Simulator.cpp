#include "sim/Simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim/Traffic.h"

namespace sim {

Simulator::Simulator(Options options) : o_(std::move(options)), projector_(o_.times) {}

std::int64_t Simulator::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - start_).count();
}

void Simulator::log(const char* direction, const std::string& bytes) const {
    if (o_.quiet) return;
    std::printf("%10lld ms  %s  %s\n", static_cast<long long>(nowMs()), direction,
                printable(bytes).c_str());
    std::fflush(stdout);
}

void Simulator::received(const std::string& line) {
    ++lines_;
    log("<-", line + '\r');
    if (o_.hangUpAfter > 0 && lines_ >= o_.hangUpAfter) {
        hungUp_ = true;
        return;
    }
    if (o_.silent) return;
    auto reply = projector_.answer(line, nowMs());
    if (!reply) return;
    std::string bytes;
    for (std::size_t i = 0; i < o_.garbage; ++i) bytes += static_cast<char>(random_() & 0xFF);
    bytes += *reply;
    std::int64_t due = std::max(nowMs() + o_.delayMs, pending_.empty() ? 0 : pending_.back().due);
    for (const std::string& chunk : chunksOf(bytes, o_.chunk)) {
        pending_.push_back({due, chunk});
        due += o_.chunkGapMs;
    }
}

void Simulator::sendDue() {
    while (!pending_.empty() && pending_.front().due <= nowMs()) {
        const std::string& bytes = pending_.front().bytes;
        if (::write(master_, bytes.data(), bytes.size()) > 0) log("->", bytes);
        pending_.pop_front();
    }
    if (!o_.unasked.empty() && nowMs() >= nextUnasked_) {
        if (::write(master_, o_.unasked.data(), o_.unasked.size()) > 0) log("->", o_.unasked);
        nextUnasked_ = nowMs() + o_.unaskedEveryMs;
    }
}

void Simulator::cleanUp() {
    if (!o_.link.empty()) ::unlink(o_.link.c_str());
    if (master_ >= 0) ::close(master_);
}

int Simulator::run(const volatile std::sig_atomic_t& stop) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        std::perror("kr60p-sim: cannot open a pseudo-terminal");
        return 1;
    }
    const std::string device = ::ptsname(master_);
    // Raw from the start: no echo, no line editing, CR left alone.
    if (const int slave = ::open(device.c_str(), O_RDWR | O_NOCTTY); slave >= 0) {
        termios raw{};
        ::tcgetattr(slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
        ::close(slave);
    }
    if (!o_.link.empty()) {
        ::unlink(o_.link.c_str());
        if (::symlink(device.c_str(), o_.link.c_str()) != 0) {
            std::fprintf(stderr, "kr60p-sim: cannot make the link %s: %s\n", o_.link.c_str(),
                         std::strerror(errno));
            cleanUp();
            return 1;
        }
    }
    std::printf("%s\n", device.c_str());
    std::fflush(stdout);

    // The peer counts as gone when its end has stayed closed this long after
    // it was first opened: long enough for the panel to close and reopen.
    constexpr std::int64_t kGoneAfterMs = 2000;
    bool connected = false;
    std::int64_t closedSince = -1;

    while (!stop && !hungUp_) {
        int timeout = 100;
        if (!pending_.empty())
            timeout =
                static_cast<int>(std::clamp<std::int64_t>(pending_.front().due - nowMs(), 0, 100));
        if (!o_.unasked.empty())
            timeout =
                static_cast<int>(std::clamp<std::int64_t>(nextUnasked_ - nowMs(), 0, timeout));
        pollfd p{master_, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeout);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0 && (p.revents & POLLHUP)) {
            // Nobody has the device open: wait without spinning.
            if (connected && closedSince < 0) closedSince = nowMs();
            if (connected && nowMs() - closedSince >= kGoneAfterMs) break;
            pending_.clear();
            ::poll(nullptr, 0, 50);
            continue;
        }
        connected = true;
        closedSince = -1;
        if (ready > 0 && (p.revents & POLLIN)) {
            char buffer[4096];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            for (ssize_t i = 0; i < n; ++i) {
                if (buffer[i] == '\r') {
                    received(line_);
                    line_.clear();
                    if (hungUp_) break;
                } else {
                    line_ += buffer[i];
                }
            }
        }
        if (!hungUp_) sendDue();
    }
    if (hungUp_ && !o_.quiet) std::printf("%10lld ms  hung up\n", static_cast<long long>(nowMs()));
    cleanUp();
    return 0;
}

}  // namespace sim
