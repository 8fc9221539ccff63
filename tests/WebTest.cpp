// The web front end's cores on the fake toolkit and the virtual clock: who a
// client is from its bytes, a request's bounds as they arrive, sessions and
// wrong passwords, a held button's lease, the page's groups and refusals, and
// the projector's state as the metrics give it.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "QueueFixture.h"
#include "link/ProjectorState.h"
#include "link/SharedLine.h"
#include "vocabulary/Commands.h"
#include "web/CommandRules.h"
#include "web/Credentials.h"
#include "web/Hold.h"
#include "web/Metrics.h"
#include "web/RequestBounds.h"
#include "web/Sessions.h"

TEST(WebCredentials, WhatAClientSendsIsReadOrNothing) {
    using std::nullopt;
    using Read = std::optional<std::string>;
    for (const auto& [header, password] : std::vector<std::pair<std::string, Read>>{
             {"Basic eDpodw==", "hw"},           // x:hw
             {"basic  eDpodzpvbmU=", "hw:one"},  // a colon in the password
             {"Basic OnNlY3JldA", "secret"},     // no padding, no user
             {"Basic eDpodw=", "hw"},
             {"Basic eHk=", nullopt},  // no colon
             {"Basic ***", nullopt},
             {"Bearer eDpodw==", nullopt},
             {"Basic", nullopt},
         }) {
        EXPECT_EQ(web::basicPassword(header), password) << header;
    }
    EXPECT_EQ(web::cookieValue("a=1; kr60p-session=ab12 ;b=2", "kr60p-session"), "ab12");
    EXPECT_EQ(web::cookieValue("xkr60p-session=1", "kr60p-session"), nullopt);
    EXPECT_EQ(web::formField("user=x&password=a%20b%2Bc+d", "password"), "a b+c d");
    EXPECT_EQ(web::formField("password=%zz", "password"), nullopt);
    EXPECT_EQ(web::formField("password=%4", "password"), nullopt);
    EXPECT_TRUE(web::sameSecret("secret", "secret"));
    EXPECT_FALSE(web::sameSecret("secret", "secreT"));
    EXPECT_FALSE(web::sameSecret("secret", "secret!"));
}

TEST(WebRequestBounds, AHeadAndABodyAreBoundedAsTheyArriveInAnyPieces) {
    using Verdict = web::RequestBounds::Verdict;
    const std::string small = "POST /api/v1/send HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello";
    const std::string two = small + small;
    const std::string large = "POST / HTTP/1.1\r\ncontent-length: 16385\r\n\r\n";
    const std::string chunked = "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n";
    const std::string head = "GET / HTTP/1.1\r\nX: " + std::string(9000, 'y') + "\r\n\r\n";
    // A body's bytes never count as a head, however long a keep-alive runs.
    std::string many;
    for (int i = 0; i < 2000; ++i) many += small;
    for (const auto& [bytes, verdict] : std::vector<std::pair<std::string, Verdict>>{
             {two, Verdict::Within},
             {many, Verdict::Within},
             {large, Verdict::BodyTooLarge},
             {chunked, Verdict::BodyTooLarge},
             {head, Verdict::HeadTooLarge},
         }) {
        for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, bytes.size()}) {
            web::RequestBounds bounds;
            Verdict seen = Verdict::Within;
            for (std::size_t at = 0; at < bytes.size(); at += piece) {
                seen = bounds.take(std::string_view(bytes).substr(at, piece));
            }
            EXPECT_EQ(seen, verdict) << bytes.substr(0, 40) << " in pieces of " << piece;
        }
    }
}

TEST(WebSessions, ASessionLivesWhileUsedAndWrongPasswordsWaitLongerEachTime) {
    std::int64_t now = 0;
    int made = 0;
    web::Sessions sessions([&] { return now; }, [&] { return "id" + std::to_string(++made); });
    const std::string id = sessions.open();
    EXPECT_TRUE(sessions.valid(id));
    EXPECT_FALSE(sessions.valid("id9"));
    now += web::kSessionMs;
    EXPECT_TRUE(sessions.valid(id));  // used just now: alive again
    now += web::kSessionMs + 1;
    EXPECT_FALSE(sessions.valid(id));
    for (std::size_t i = 0; i <= web::kMostSessions; ++i) {
        ++now;
        sessions.open();
    }
    EXPECT_FALSE(sessions.valid("id2"));  // the oldest went
    EXPECT_TRUE(sessions.valid("id3"));

    web::Throttle throttle([&] { return now; });
    std::vector<std::int64_t> waits;
    waits.reserve(7);
    for (int i = 0; i < 7; ++i) waits.push_back(throttle.wrong("10.0.4.2"));
    EXPECT_EQ(waits, (std::vector<std::int64_t>{1000, 2000, 4000, 8000, 16000, 16000, 16000}));
    EXPECT_EQ(throttle.wrong("10.0.4.3"), 1000);  // by host, not by connection
    throttle.right("10.0.4.2");
    EXPECT_EQ(throttle.wrong("10.0.4.2"), 1000);
    now += web::kThrottleForgetMs + 1;
    EXPECT_EQ(throttle.wrong("10.0.4.3"), 1000);
}

namespace {

struct Held : ::testing::Test {
    Held() {
        clock.add(&repeat);
        clock.add(&lease);
    }
    fake::Clock clock;
    fake::Timer repeat{clock, 0}, lease{clock, 0};
    std::vector<std::string> sent;
    std::function<void()> pending;  // the exchange on the line, until done
    web::Hold hold{repeat, lease, [this](const std::string& command, std::function<void()> done) {
                       sent.push_back(command);
                       pending = std::move(done);
                   }};
    void answered() {
        if (auto done = std::exchange(pending, nullptr)) done();
    }
    // Time passes; every exchange answered at once.
    void pass(int ms) {
        for (int i = 0; i < ms; i += 10) {
            clock.advance(10);
            answered();
        }
    }
};

}  // namespace

TEST_F(Held, AHoldRepeatsAtItsPaceAndStopsEveryWayItIsLetGo) {
    hold.press("page-1", "volume-up", 250);
    EXPECT_EQ(sent.size(), 1u);  // at once
    pass(1000);
    EXPECT_EQ(sent.size(), 4u);  // the lease renewed by nobody: gone at 1 s
    EXPECT_FALSE(hold.holding());
    pass(1000);
    EXPECT_EQ(sent.size(), 4u);

    sent.clear();
    hold.press("page-1", "volume-up", 250);
    for (int i = 0; i < 10; ++i) {
        pass(300);
        hold.renew("page-1");
        hold.renew("page-2");  // another's renewal holds nothing
    }
    EXPECT_EQ(sent.size(), 13u);
    hold.release("page-2");
    EXPECT_TRUE(hold.holding());
    hold.release("page-1");  // let go, or its live stream gone
    pass(1000);
    EXPECT_EQ(sent.size(), 13u);

    // A repetition waits while the last is still on the line.
    sent.clear();
    hold.press("page-1", "brightness-up", 50);
    clock.advance(400);
    EXPECT_EQ(sent.size(), 1u);
    answered();
    clock.advance(50);
    EXPECT_EQ(sent.size(), 2u);
}

TEST(WebCommandRules, EveryCommandIsOfferedOnceAndWhatTheProjectorIgnoresIsRefused) {
    std::multiset<std::string_view> offered;
    for (const web::Group& group : web::commandGroups()) {
        for (const std::string_view name : group.commands) {
            EXPECT_NE(projector::commandNamed(name), nullptr) << name;
            offered.insert(name);
        }
    }
    for (const projector::Command& command : projector::commandCatalogue()) {
        EXPECT_EQ(offered.count(command.name), 1u) << command.name;
    }
    EXPECT_EQ(offered.size(), projector::commandCatalogue().size());
    struct Case {
        const char* command;
        const char* state;
        bool refused;
    };
    for (const Case& c : std::vector<Case>{{"power-on", "standby", false},
                                           {"power-on", "cooling-down", true},
                                           {"power-off", "warming-up", false},
                                           {"input-pc1", "standby", true},
                                           {"input-pc1", "cooling-down-power-management", true},
                                           {"input-pc1", "on", false},
                                           {"volume-up", "warming-up", false},
                                           {"lamp-time", "standby", false}}) {
        EXPECT_EQ(web::refusal(c.command, c.state).has_value(), c.refused)
            << c.command << " in " << c.state;
    }
}

namespace {

class State : public QueueFixture {
  protected:
    State() {
        clock.add(&probe);
        clock.add(&poll);
        link.addListener(line);
        link.addListener(state);
        link.addListener(counts);
        // Heard from its start: the device gone and back.
        port.unplug();
        port.plugIn();
        clock.advance(1000);
        wire();
    }
    fake::Timer probe{clock, 0}, poll{clock, 0};
    projector::SharedLine line{queue, [this] { return clock.now(); }, probe};
    projector::ProjectorState state{line, poll, [this] { return clock.now(); },
                                    [] { return std::string("T"); }};
    web::LineCounts counts{line};
    pjlink::Identity identity{"Hall 3", "ORVA", "KR60P", "test"};
    std::string metrics() {
        return web::metrics(state, identity, counts, line.fromCache(), {1, 0, 2}, clock.now());
    }
};

}  // namespace

TEST_F(State, WhatTheLineSaysIsKnownWatchedAndGivenAsMetricsWhileFresh) {
    line.query("CR0", [](const projector::Answer&) {});
    port.deliver("28\r");  // cooling down, a temperature warning
    line.query("CR6", [](const projector::Answer&) {});
    port.deliver("+25.0 +30.0 +35.0\r");
    ASSERT_TRUE(state.known(projector::Field::State));
    EXPECT_EQ(state.known(projector::Field::State)->words, "Temperature Warning & cooling down");
    const char* const kDeviceInfo =
        "pjlink_device_info{name=\"Hall 3\",manufacturer=\"ORVA\",product_name=\"KR60P\","
        "version=\"\",pjlink_class=\"2\"} 1\n";
    const std::string text = metrics();
    for (const char* line :
         {"pjlink_power_status 2\n", "pjlink_error_status{component=\"temperature\"} 1\n",
          "kr60p_temperature_celsius{sensor=\"3\"} 35\n", "kr60p_reachable 1\n",
          "kr60p_exchanges_total{outcome=\"answered\"} 2\n", "kr60p_clients{protocol=\"http\"} 2\n",
          kDeviceInfo}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
    }
    clock.advance(web::kFreshMs + 1);  // old readings are not passed off as fresh
    EXPECT_EQ(metrics().find("pjlink_power_status"), std::string::npos);
    // Watched, it asks one query a second; unwatched, nothing.
    wire();
    state.watch();
    EXPECT_EQ(wire().size(), 1u);
    clock.advance(500);
    port.deliver("00\r");
    clock.advance(500);
    EXPECT_EQ(wire().size(), 1u);
    state.unwatch();
    clock.advance(5000);
    EXPECT_TRUE(wire().empty());
    port.unplug();
    EXPECT_NE(metrics().find("kr60p_reachable 0"), std::string::npos);
    EXPECT_NE(metrics().find("kr60p_device_losses_total 2"), std::string::npos);
}
