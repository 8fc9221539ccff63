// Who hears Class 2's notifications: the --notify hosts, and a controller
// heard in the last five minutes, at port 4352; never this host.

#include <gtest/gtest.h>

#include "app/pjlink/Destinations.h"

namespace {

using gateway::Place;

struct Rig {
    std::int64_t now = 0;
    // 10.0.4.9 plays one of this host's own addresses.
    gateway::Destinations destinations{[](const QHostAddress& address) {
                                           return address.isLoopback() ||
                                                  address == QHostAddress("10.0.4.9");
                                       },
                                       [this] { return now; }};
};

}  // namespace

TEST(Destinations, AControllerIsToldAtPjlinksPortForFiveMinutesAfterItsLastRequest) {
    Rig rig;
    EXPECT_FALSE(rig.destinations.anyone());
    rig.destinations.heard(QHostAddress("10.0.4.2"));
    EXPECT_EQ(rig.destinations.places(), (std::vector<Place>{{QHostAddress("10.0.4.2"), 4352}}));
    rig.now += gateway::kControllerMs - 1;
    EXPECT_TRUE(rig.destinations.anyone());
    EXPECT_EQ(rig.destinations.controllerLeftMs(), 1);
    rig.now += 1;
    EXPECT_FALSE(rig.destinations.anyone());  // nobody to tell: nothing polled
    rig.destinations.heard(QHostAddress("10.0.4.3"));
    rig.now += 1000;
    rig.destinations.heard(QHostAddress("10.0.4.3"));
    EXPECT_EQ(rig.destinations.controllerLeftMs(), gateway::kControllerMs);
}

TEST(Destinations, ThisHostIsNeverToldNorTheGatewaysOwnPort) {
    Rig rig;
    for (const char* own : {"127.0.0.1", "127.0.0.2", "::1", "10.0.4.9"}) {
        rig.destinations.heard(QHostAddress(own));
        EXPECT_FALSE(rig.destinations.anyone()) << own;
    }
    std::vector<std::string> why;
    rig.destinations.setNamed({{QHostAddress("10.0.4.2"), 4352},
                               {QHostAddress("127.0.0.1"), 4352},
                               {QHostAddress("127.0.0.1"), 9999},
                               {QHostAddress("10.0.4.9"), 4352}},
                              {4352}, why);
    EXPECT_EQ(rig.destinations.places(), (std::vector<Place>{{QHostAddress("10.0.4.2"), 4352},
                                                             {QHostAddress("127.0.0.1"), 9999}}));
    ASSERT_EQ(why.size(), 2u);
    EXPECT_NE(why[0].find("127.0.0.1:4352 is this gateway's own port"), std::string::npos);
    // A controller that is a --notify host too is told once.
    rig.destinations.heard(QHostAddress("10.0.4.2"));
    EXPECT_EQ(rig.destinations.places().size(), 2u);
}
