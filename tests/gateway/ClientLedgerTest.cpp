// What the journal says of a server's clients: a handful of lines for many
// pollers, a flood said once with its count, refusals with their reasons.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/servers/ClientLedger.h"

namespace {

struct Rig {
    std::int64_t now = 0;
    std::vector<std::string> said;
    gateway::ClientLedger ledger{"PJLINK", [this] { return now; },
                                 [this](const std::string& line) { said.push_back(line); }};
    // Time passes, the ledger's tick once a second.
    void pass(std::int64_t ms) {
        for (std::int64_t passed = 0; passed < ms; passed += 1000) {
            now += 1000;
            ledger.tick();
        }
    }
};

}  // namespace

TEST(ClientLedger, FiftyPollersForAnHourAreAHandfulOfLines) {
    Rig rig;
    for (int second = 0; second < 3600; second += 2) {
        for (int client = 0; client < 50; ++client) {
            rig.ledger.connected("10.0.4." + std::to_string(client % 5));
            rig.ledger.request("10.0.4." + std::to_string(client % 5));
        }
        rig.pass(2000);
    }
    // Five hosts: each new once, then summed up every ten minutes.
    EXPECT_EQ(rig.said.size(), 5u + 5u * 6u);
    EXPECT_EQ(rig.said.front(),
              "PJLINK 10.0.4.0 NEW CLIENT: its requests are summed up every 10 min while it is "
              "active");
    EXPECT_EQ(rig.said.back(),
              "PJLINK 10.0.4.4: 3000 requests on 3000 connections in the last 10 min");
    rig.said.clear();
    rig.pass(2 * gateway::kSummaryMs);  // quiet: forgotten, nothing more said
    EXPECT_TRUE(rig.said.empty());
    EXPECT_TRUE(rig.ledger.empty());
}

TEST(ClientLedger, AFloodIsSaidOnceWhenItStartsAndOnceWithItsCountWhenItEnds) {
    Rig rig;
    rig.ledger.connected("10.0.4.2");
    for (int i = 0; i < 720'000; ++i) {
        rig.ledger.request("10.0.4.2");
        if (i % 42'000 == 41'999) rig.now += 1000;  // 17 s of it
    }
    rig.pass(2000);
    ASSERT_EQ(rig.said.size(), 3u);
    EXPECT_EQ(rig.said[1],
              "PJLINK 10.0.4.2 FLOOD: more than 50 requests a second; each is answered, none "
              "logged, until it ends");
    EXPECT_EQ(rig.said[2], "PJLINK 10.0.4.2 FLOOD OVER: 720000 requests in 17 s");
}

TEST(ClientLedger, ARefusalIsSaidWithItsReasonAtMostOnceAMinuteAndCounted) {
    Rig rig;
    for (int i = 0; i < 30; ++i) {
        rig.ledger.refused("10.0.4.7", "a wrong password digest");
        rig.now += 3000;
    }
    rig.ledger.refused("10.0.4.7", "64 clients are connected already");
    ASSERT_EQ(rig.said.size(), 4u);
    EXPECT_EQ(rig.said[1], "PJLINK 10.0.4.7 REFUSED: a wrong password digest");
    EXPECT_EQ(rig.said[2],
              "PJLINK 10.0.4.7 REFUSED: a wrong password digest (and 19 times more since the "
              "last line)");
    EXPECT_EQ(rig.said[3], "PJLINK 10.0.4.7 REFUSED: 64 clients are connected already");
}
