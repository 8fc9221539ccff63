#pragma once
// The far end of a pseudo-terminal pair: the panel opens the device path,
// the test reads and writes the other end. The device path is a symbolic
// link in a folder of the peer's own: once the peer hangs up, the link is
// gone, so a reconnect check can never open the pseudo-terminal that another
// program gets next under the same /dev/pts number.

#include <chrono>
#include <functional>
#include <string>

class PtyPeer {
  public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& devicePath() const { return link_; }
    // The pseudo-terminal itself (/dev/pts/N).
    const std::string& nodePath() const { return path_; }
    int masterFd() const { return master_; }
    void write(const std::string& bytes);
    // Everything readable now, without waiting.
    std::string readAvailable();
    // Hangs up, as an unplugged cable would: the device path goes too.
    void hangUp();

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::string folder_;
    std::string link_;
};

// Reads the peer into `received` until it holds `bytes`, or the deadline
// passes.
bool waitUntilReceived(PtyPeer& peer, std::string& received, const std::string& bytes);

// Runs the event loop until the condition holds or the deadline passes.
bool waitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds deadline = std::chrono::seconds(10));
