#include "web/Hold.h"

#include <memory>

namespace web {

Hold::Hold(toolkit::Timer& repeat, toolkit::Timer& lease, Send send)
    : repeat_(repeat), lease_(lease), send_(std::move(send)) {
    repeat_.onTimer([this] { this->repeat(); });
    lease_.setInterval(kLeaseMs);
    lease_.onTimer([this] { stop(); });
}

Hold::~Hold() {
    *alive_ = false;
}

void Hold::press(const std::string& holder, const std::string& command, int repeatMs) {
    stop();
    holder_ = holder;
    command_ = command;
    repeat_.setInterval(repeatMs);
    repeat_.setEnabled(true);
    lease_.setEnabled(false);
    lease_.setEnabled(true);
    repeat();
}

void Hold::renew(const std::string& holder) {
    if (holder.empty() || holder != holder_) return;
    lease_.setEnabled(false);
    lease_.setEnabled(true);
}

void Hold::release(const std::string& holder) {
    if (!holder.empty() && holder == holder_) stop();
}

void Hold::stop() {
    holder_.clear();
    command_.clear();
    repeat_.setEnabled(false);
    lease_.setEnabled(false);
}

void Hold::repeat() {
    if (!holding() || sending_) return;
    sending_ = true;
    send_(command_, [this, alive = alive_] {
        if (*alive) sending_ = false;
    });
}

}  // namespace web
