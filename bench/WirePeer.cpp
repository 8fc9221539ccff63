#include "WirePeer.h"

#include <poll.h>
#include <unistd.h>

WirePeer::WirePeer() {
    reader_ = std::thread([this] { read(); });
}

WirePeer::~WirePeer() {
    stop_ = true;
    if (flooder_.joinable()) flooder_.join();
    reader_.join();
}

void WirePeer::autoReply(std::string trigger, std::string reply) {
    std::lock_guard lock(mutex_);
    trigger_ = std::move(trigger);
    reply_ = std::move(reply);
}

std::vector<WirePeer::Line> WirePeer::lines() {
    std::lock_guard lock(mutex_);
    return lines_;
}

void WirePeer::clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
}

void WirePeer::read() {
    char buffer[4096];
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        const std::int64_t at = now();
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) continue;
        bytes_ += static_cast<std::size_t>(n);
        std::lock_guard lock(mutex_);
        for (ssize_t i = 0; i < n; ++i) {
            if (partial_.empty()) partialStart_ = at;
            if (buffer[i] != '\r') {
                partial_ += buffer[i];
                continue;
            }
            if (!trigger_.empty() && partial_ == trigger_) {
                replyAt_ = now();
                [[maybe_unused]] const ssize_t written =
                    ::write(master_, reply_.data(), reply_.size());
            }
            lines_.push_back({partial_, partialStart_});
            partial_.clear();
        }
    }
}

void WirePeer::flood(std::string bytes) {
    flooding_ = true;
    flooder_ = std::thread([this, bytes = std::move(bytes)] {
        std::size_t done = 0;
        while (done < bytes.size() && !stop_) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else {
                pollfd p{master_, POLLOUT, 0};
                ::poll(&p, 1, 10);
            }
        }
        flooding_ = false;
    });
}
