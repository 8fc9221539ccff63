// The port's life on the fake port and the virtual clock: every road from
// one state to the next, and what the listeners hear on each.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "link/Link.h"
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
        for (fake::Timer* timer : {&timer2, &timer4, &reconnect}) clock.add(timer);
        port.setDevice(1, "/dev/ttyUSB0");
        port.setDevice(2, "/dev/ttyUSB1");
        link.addListener(heard);
        link.setStartValues();
    }
    std::vector<std::string> events() { return std::exchange(heard.events, {}); }

    fake::Clock clock;
    fake::SerialPort port;
    fake::Timer timer2{clock, 500}, timer4{clock, 1000}, reconnect{clock, 1000};
    projector::Link link{port, timer2, timer4, reconnect};
    Heard heard;
};

class LinkLife : public ::testing::Test, public Rig {};

using Events = std::vector<std::string>;

}  // namespace

TEST_F(LinkLife, AProgramStartsWithOneOpen) {
    link.start();
    EXPECT_EQ(events(), (Events{"Opened 1", "Started 1"}));
    EXPECT_EQ(link.state(), PortState::Open);
    EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "open"), 1);
}

TEST_F(LinkLife, AStartThatTakesTimeEndsWhenTheOpenIsDoneOrFails) {
    port.slowOpens = true;
    link.start();
    EXPECT_EQ(link.state(), PortState::Opening);
    EXPECT_TRUE(link.starting());
    EXPECT_TRUE(events().empty());
    port.finishOpen();
    EXPECT_EQ(events(), (Events{"Opened 1", "Started 1"}));
    EXPECT_FALSE(link.starting());

    link.shutDown("again");
    events();
    projector::Link again{port, timer2, timer4, reconnect};
    again.addListener(heard);
    again.start();
    port.failOpen(FaultKind::Refused);
    EXPECT_EQ(events(), (Events{"StartFailed 1"}));
    EXPECT_EQ(again.state(), PortState::Closed);
}

TEST_F(LinkLife, ALostDeviceIsLookedForOnceASecondAndReopened) {
    link.start();
    events();
    port.unplug();
    EXPECT_EQ(events(), (Events{"Lost 1"}));
    EXPECT_EQ(link.state(), PortState::Lost);
    port.unplug();  // however many events the port raises, one loss
    port.calls.clear();
    clock.advance(5000);
    EXPECT_TRUE(port.calls.empty());  // not there: only looked for
    port.plugIn();
    clock.advance(1000);
    EXPECT_EQ(events(), (Events{"Opened 1", "Reconnected 1"}));
    EXPECT_EQ(link.state(), PortState::Open);
    EXPECT_FALSE(reconnect.enabled());
}

// After a device chosen from the window failed, the link is put back: the
// port open again if it was, a lost device still looked for if it was.
TEST_F(LinkLife, ARestorePutsTheLinkBackAsItWas) {
    link.start();
    events();
    link.restorePort(1, true);
    EXPECT_EQ(link.state(), PortState::Open);
    port.unplug();
    events();
    link.restorePort(1, false);
    EXPECT_EQ(link.state(), PortState::Lost);
    EXPECT_TRUE(reconnect.enabled());
    port.plugIn();
    port.missingDevices = {"/dev/ttyUSB0"};
    link.restorePort(1, true);  // it failed meanwhile: a loss, looked for
    EXPECT_EQ(events(), (Events{"Lost 1"}));
    EXPECT_EQ(link.state(), PortState::Lost);
}

// A shut-down in any state closes what is open, says why once, and nothing
// of the link runs afterwards.
TEST_F(LinkLife, AShutDownInEachStateEndsEverything) {
    const std::vector<std::pair<const char*, std::function<void(Rig&)>>> states{
        {"open", [](Rig& t) { t.link.start(); }},
        {"opening",
         [](Rig& t) {
             t.port.slowOpens = true;
             t.link.start();
         }},
        {"lost",
         [](Rig& t) {
             t.link.start();
             t.port.unplug();
         }},
        {"closed",
         [](Rig& t) {
             t.link.start();
             t.port.missingPorts = {2};
             t.link.switchPort(2);
         }},
    };
    for (const auto& [name, reach] : states) {
        SCOPED_TRACE(name);
        Rig t;
        reach(t);
        const bool wasOpen = t.port.portOpen();
        t.events();
        t.link.shutDown("the test is over");
        const Events said = t.events();
        EXPECT_EQ(said.back(), "Ended " + std::to_string(t.port.commPort()));
        EXPECT_EQ(said.size(), wasOpen ? 2u : 1u);  // Closed first, if it was open
        EXPECT_EQ(t.link.state(), PortState::Ended);
        EXPECT_FALSE(t.port.portOpen() || t.port.opening());
        t.port.plugIn();
        t.port.deliver("80\r");
        t.clock.advance(10'000);
        t.link.shutDown("again");
        EXPECT_TRUE(t.events().empty());
    }
}
