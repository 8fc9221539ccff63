#pragma once
// The line every program without a window stands on: the device's port, the
// programs' exchange queue with its countdowns, and the shared line for many
// askers, built in one place. A program's main reads: its options, the line,
// its front ends, the loop. Front ends hear the port's events before the
// queue does, so that a loss is theirs to say before the exchanges fail.

#include <QElapsedTimer>
#include <cstdint>
#include <string>
#include <string_view>

#include "link/ExchangeQueue.h"
#include "link/Port.h"
#include "link/SharedLine.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTimer.h"

namespace app {

class ProgramLine {
  public:
    // The device for port 1 and its settings text, applied at the start; the
    // queue's times.
    ProgramLine(const std::string& device, std::string_view settings,
                projector::ExchangeTiming timing);
    ProgramLine(const ProgramLine&) = delete;
    ProgramLine& operator=(const ProgramLine&) = delete;

    // Heard before the queue, in the order added.
    void addListener(projector::LinkListener& listener) { port_.addListener(listener); }
    // The speed chosen, then port 1 opened.
    void start(projector::Port::WhenAbsent whenAbsent = projector::Port::WhenAbsent::GiveUp);

    projector::Port& port() { return port_; }
    projector::ExchangeQueue& queue() { return queue_; }
    projector::SharedLine& shared() { return shared_; }
    // Milliseconds on a steady clock since the line was made.
    std::int64_t now() const { return clock_.elapsed(); }

  private:
    std::string settings_;
    toolkit::qt::QtSerialPort device_;
    toolkit::qt::QtTimer reconnect_;
    toolkit::qt::QtTimer silence_, overall_, quiet_, probe_;
    projector::Port port_;
    projector::ExchangeQueue queue_;
    QElapsedTimer clock_;
    projector::SharedLine shared_;
};

}  // namespace app
