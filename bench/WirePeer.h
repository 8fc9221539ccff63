#pragma once
// The far end of a pseudo-terminal, read on a thread of its own so that each
// line is time-stamped (CLOCK_MONOTONIC) as it becomes readable, whatever the
// panel's thread is doing.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/PtyPeer.h"

class WirePeer {
  public:
    struct Line {
        std::string text;        // without its CR
        std::int64_t firstByte;  // ns, when its first byte was read
    };

    WirePeer();
    ~WirePeer();

    const std::string& devicePath() const { return pty_.devicePath(); }
    // When a line equal to `trigger` arrives, the reader writes `reply` at
    // once and notes the time in lastReplyAt().
    void autoReply(std::string trigger, std::string reply);
    std::int64_t lastReplyAt() const { return replyAt_.load(); }
    std::vector<Line> lines();
    void clear();
    std::size_t bytesRead() const { return bytes_.load(); }
    // Writes everything, as fast as the terminal takes it (on a thread).
    void flood(std::string bytes);
    bool flooding() const { return flooding_.load(); }

    static std::int64_t now() {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

  private:
    void read();
    PtyPeer pty_;
    int master_ = pty_.masterFd();
    std::atomic<bool> stop_{false};
    std::atomic<bool> flooding_{false};
    std::atomic<std::int64_t> replyAt_{0};
    std::atomic<std::size_t> bytes_{0};
    std::mutex mutex_;
    std::vector<Line> lines_;
    std::string partial_;
    std::int64_t partialStart_ = 0;
    std::string trigger_, reply_;
    std::thread reader_, flooder_;
};
