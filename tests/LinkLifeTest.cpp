// The port's life on the fake port and the virtual clock: every road from
// one state to the next, and what the listeners hear on each.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "link/Port.h"
#include "tests/support/FakeToolkit.h"

namespace {

using projector::PortState;
using Kind = projector::PortEvent::Kind;
using FaultKind = toolkit::Fault::Kind;

struct Heard : projector::LinkListener {
    void portEvent(const projector::PortEvent& event) override {
        static const std::map<Kind, std::string> names{
            {Kind::Opened, "Opened"},     {Kind::Closed, "Closed"},
            {Kind::Switched, "Switched"}, {Kind::SwitchFailed, "SwitchFailed"},
            {Kind::Lost, "Lost"},         {Kind::Reconnected, "Reconnected"},
            {Kind::Started, "Started"},   {Kind::StartFailed, "StartFailed"},
            {Kind::Ended, "Ended"},       {Kind::SpeedChosen, "Speed"}};
        std::string name = names.at(event.kind);
        if (event.reconnecting) name += "+looking";
        events.push_back(name + " " + std::to_string(event.number));
    }
    std::vector<std::string> events;
};

// A link on a fake port with two devices.
struct Rig {
    Rig() {
        clock.add(&reconnect);
        port.setDevice(1, "/dev/ttyUSB0");
        port.setDevice(2, "/dev/ttyUSB1");
        line.addListener(heard);
    }
    std::vector<std::string> events() { return std::exchange(heard.events, {}); }

    fake::Clock clock;
    fake::SerialPort port;
    fake::Timer reconnect{clock, 1000};
    projector::Port line{port, reconnect};
    Heard heard;
};

class LinkLife : public ::testing::Test, public Rig {};

using Events = std::vector<std::string>;

}  // namespace

TEST_F(LinkLife, AProgramStartsWithOneOpen) {
    line.start();
    EXPECT_EQ(events(), (Events{"Opened 1", "Started 1"}));
    EXPECT_EQ(line.state(), PortState::Open);
    EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "open"), 1);
}

TEST_F(LinkLife, AStartThatTakesTimeEndsWhenTheOpenIsDoneOrFails) {
    port.slowOpens = true;
    line.start();
    EXPECT_EQ(line.state(), PortState::Opening);
    EXPECT_TRUE(line.starting());
    EXPECT_TRUE(events().empty());
    port.finishOpen();
    EXPECT_EQ(events(), (Events{"Opened 1", "Started 1"}));
    EXPECT_FALSE(line.starting());

    line.shutDown("again");
    events();
    projector::Port again{port, reconnect};
    again.addListener(heard);
    again.start();
    port.failOpen(FaultKind::Refused);
    EXPECT_EQ(events(), (Events{"StartFailed 1"}));
    EXPECT_EQ(again.state(), PortState::Closed);
}

TEST_F(LinkLife, ALostDeviceIsLookedForOnceASecondAndReopened) {
    line.start();
    events();
    port.unplug();
    EXPECT_EQ(events(), (Events{"Lost 1"}));
    EXPECT_EQ(line.state(), PortState::Lost);
    port.unplug();  // however many events the port raises, one loss
    port.calls.clear();
    clock.advance(5000);
    EXPECT_TRUE(port.calls.empty());  // not there: only looked for
    port.plugIn();
    clock.advance(1000);
    EXPECT_EQ(events(), (Events{"Opened 1", "Reconnected 1"}));
    EXPECT_EQ(line.state(), PortState::Open);
    EXPECT_FALSE(reconnect.enabled());
}

// After a device chosen from the window failed, the link is put back: the
// port open again if it was, a lost device still looked for if it was.
TEST_F(LinkLife, ARestorePutsTheLinkBackAsItWas) {
    line.start();
    events();
    line.restorePort(1, true);
    EXPECT_EQ(line.state(), PortState::Open);
    port.unplug();
    events();
    line.restorePort(1, false);
    EXPECT_EQ(line.state(), PortState::Lost);
    EXPECT_TRUE(reconnect.enabled());
    port.plugIn();
    port.missingDevices = {"/dev/ttyUSB0"};
    line.restorePort(1, true);  // it failed meanwhile: a loss, looked for
    EXPECT_EQ(events(), (Events{"Lost 1"}));
    EXPECT_EQ(line.state(), PortState::Lost);
}

// A shut-down in any state closes what is open, says why once, and nothing
// of the link runs afterwards.
TEST_F(LinkLife, AShutDownInEachStateEndsEverything) {
    const std::vector<std::pair<const char*, std::function<void(Rig&)>>> states{
        {"open", [](Rig& t) { t.line.start(); }},
        {"opening",
         [](Rig& t) {
             t.port.slowOpens = true;
             t.line.start();
         }},
        {"lost",
         [](Rig& t) {
             t.line.start();
             t.port.unplug();
         }},
        {"closed",
         [](Rig& t) {
             t.line.start();
             t.port.missingPorts = {2};
             t.line.switchPort(2);
         }},
    };
    for (const auto& [name, reach] : states) {
        SCOPED_TRACE(name);
        Rig t;
        reach(t);
        const bool wasOpen = t.port.portOpen();
        t.events();
        t.line.shutDown("the test is over");
        const Events said = t.events();
        EXPECT_EQ(said.back(), "Ended " + std::to_string(t.port.commPort()));
        EXPECT_EQ(said.size(), wasOpen ? 2u : 1u);  // Closed first, if it was open
        EXPECT_EQ(t.line.state(), PortState::Ended);
        EXPECT_FALSE(t.port.portOpen() || t.port.opening());
        t.port.plugIn();
        t.port.deliver("80\r");
        t.clock.advance(10'000);
        t.line.shutDown("again");
        EXPECT_TRUE(t.events().empty());
    }
}
