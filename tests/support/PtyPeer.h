#pragma once
// The far end of a pseudo-terminal pair: the panel opens the device path,
// the test reads and writes the other end.

#include <chrono>
#include <functional>
#include <string>

class PtyPeer {
  public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& devicePath() const { return path_; }
    int masterFd() const { return master_; }
    void write(const std::string& bytes);
    // Everything readable now, without waiting.
    std::string readAvailable();
    // Hangs up, as an unplugged cable would.
    void hangUp();

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

// Reads the peer into `received` until it holds `bytes`, or the deadline
// passes.
bool waitUntilReceived(PtyPeer& peer, std::string& received, const std::string& bytes);

// Runs the event loop until the condition holds or the deadline passes.
bool waitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds deadline = std::chrono::seconds(10));
