#pragma once
// A link open on the fake port and the virtual clock, with an exchange
// queue listening: the ground of the tests of programs' exchanges.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "link/ExchangeQueue.h"
#include "link/Port.h"
#include "tests/support/FakeToolkit.h"

class QueueFixture : public ::testing::Test {
  protected:
    QueueFixture() {
        for (fake::Timer* timer : {&reconnect, &silence, &overall, &quiet}) clock.add(timer);
        port.setDevice(1, "/dev/ttyUSB0");
        link.start();
        port.writes.clear();
    }
    // The lines on the wire since the last look.
    std::vector<std::string> wire() { return std::exchange(port.writes, {}); }

    fake::Clock clock;
    fake::SerialPort port;
    fake::Timer reconnect{clock, 1000};
    fake::Timer silence{clock, 0}, overall{clock, 0}, quiet{clock, 0};
    projector::Port link{port, reconnect};
    projector::ExchangeQueue queue{link, {silence, overall, quiet}, {500, 3000, 500}};
};
