#pragma once
// A button held on the web page: its command sent at once, then again at
// the window's pace while it is held. It stops when the page lets go, when
// the page's lease runs out unrenewed (a phone gone to sleep, a tab closed,
// a network gone), or when the page's live connection drops; a repetition
// waits while the last is still on the line. One hold at a time: a new
// press ends the one before.

#include <functional>
#include <memory>
#include <string>

#include "toolkit/Controls.h"

namespace web {

// How long a hold lasts unless the page renews it.
inline constexpr int kLeaseMs = 1000;

class Hold {
  public:
    // Sends a command; done once its exchange is over.
    using Send = std::function<void(const std::string& command, std::function<void()> done)>;

    Hold(toolkit::Timer& repeat, toolkit::Timer& lease, Send send);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

    void press(const std::string& holder, const std::string& command, int repeatMs);
    void renew(const std::string& holder);
    // Let go by the page, or its connection gone: a holder's only.
    void release(const std::string& holder);
    bool holding() const { return !holder_.empty(); }
    const std::string& command() const { return command_; }

  private:
    void repeat();
    void stop();

    toolkit::Timer& repeat_;
    toolkit::Timer& lease_;
    Send send_;
    std::string holder_;
    std::string command_;
    bool sending_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace web
