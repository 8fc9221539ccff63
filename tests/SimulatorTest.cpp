// The simulator's projector: its power cycle, the state commands keep, and
// replies the panel's decoder turns into sensible text.

#include <gtest/gtest.h>

#include "sim/Projector.h"
#include "sim/Traffic.h"
#include "vocabulary/Decoder.h"
#include "vocabulary/Trace.h"

using sim::Projector;

namespace {

const std::string kAck(1, sim::kAck);

// What the panel would show for the reply to a query.
std::string shown(Projector& projector, const std::string& query, std::int64_t now) {
    const auto reply = projector.answer(query, now);
    EXPECT_TRUE(reply) << query;
    std::int16_t pressure = 0;
    return projector::decodeReply(query + "\r", "", projector::traceOf(reply.value_or("")),
                                  pressure)
        .value_or("(unchanged)");
}

}  // namespace

TEST(Simulator, PowerCycle) {
    Projector projector({1000, 500});
    struct Step {
        std::int64_t at;
        const char* command;  // nullptr: only look
        const char* status;   // the decoded answer to "CR0" afterwards
    };
    for (const Step& step : {
             Step{0, nullptr, " Stand by"},
             Step{10, "C01", " Stand by"},  // off while off changes nothing
             Step{20, "C00", " Count down"},
             Step{500, "C00", " Count down"},  // on while warming changes nothing
             Step{1019, nullptr, " Count down"},
             Step{1020, nullptr, " Power ON"},
             Step{5000, "C01", " Cooling down"},
             Step{5499, nullptr, " Cooling down"},
             Step{5500, nullptr, " Stand by"},
             Step{6000, "C00", " Count down"},
             Step{6100, "C01", " Cooling down"},  // off during warm-up cools down
             Step{6600, nullptr, " Stand by"},
         }) {
        SCOPED_TRACE(step.at);
        if (step.command) {
            EXPECT_EQ(projector.answer(step.command, step.at), kAck);
        }
        EXPECT_EQ(shown(projector, "CR0", step.at), step.status);
    }
}

TEST(Simulator, LampHoursAdvanceOnlyWhileLit) {
    Projector projector({0, 0});
    const auto hours = projector.lampHours(0);
    projector.answer("C00", 0);
    EXPECT_EQ(projector.lampHours(100'000), hours + 10);
    projector.answer("C01", 100'000);
    EXPECT_EQ(projector.lampHours(500'000), hours + 10);
    EXPECT_EQ(shown(projector, "CR3", 500'000), " 0 1 2 4 4 CR  Hour Use");
}

TEST(Simulator, CommandsChangeTheStateTheyName) {
    Projector projector;
    struct Case {
        const char* command;
        std::function<bool(Projector&)> holds;
    };
    for (const Case& c : {
             Case{"C06", [](Projector& p) { return p.input() == 2; }},
             Case{"C07", [](Projector& p) { return p.input() == 3; }},
             Case{"C05", [](Projector& p) { return p.input() == 1; }},
             Case{"C0B", [](Projector& p) { return p.soundMuted(); }},
             Case{"C0C", [](Projector& p) { return !p.soundMuted(); }},
             Case{"C0D", [](Projector& p) { return p.noShow(); }},
             Case{"C43", [](Projector& p) { return p.frozen(); }},
             Case{"C44", [](Projector& p) { return !p.frozen(); }},
             Case{"C1C", [](Projector& p) { return p.menuShown(); }},
             Case{"C1D", [](Projector& p) { return !p.menuShown(); }},
             Case{"C19", [](Projector& p) { return p.pictureMode() == 0x19; }},
             Case{"CF KEYDIS RC", [](Projector& p) { return p.keyLock() == "RC"; }},
         }) {
        EXPECT_EQ(projector.answer(c.command, 0), kAck) << c.command;
        EXPECT_TRUE(c.holds(projector)) << c.command;
    }
}

TEST(Simulator, EveryPanelActionIsAcknowledgedAndUnknownLinesGetNoReply) {
    Projector projector;
    for (const char* code : {"C00",          "C01",
                             "C05",          "C06",
                             "C07",          "C81",
                             "C82",          "C0B",
                             "C0C",          "C0D",
                             "C0E",          "C43",
                             "C44",          "C1C",
                             "C1D",          "C0F",
                             "C10",          "C89",
                             "C27",          "C8A",
                             "C1E",          "CF KEYDIS NONE",
                             "CF KEYDIS RC", "CF KEYDIS KEY",
                             "C11",          "C12",
                             "C13",          "C14",
                             "C15",          "C16",
                             "C17",          "C18",
                             "C19",          "C50",
                             "C52",          "C53",
                             "C25",          "C24",
                             "C26",          "C32",
                             "C33",          "C34",
                             "C09",          "C0A",
                             "C20",          "C21",
                             "C30",          "C31",
                             "C8E",          "C8F",
                             "C3C",          "C3D",
                             "C3B",          "C3A",
                             "C3F"}) {
        EXPECT_EQ(projector.answer(code, 0), kAck) << code;
    }
    for (const char* line : {"", "C", "C0", "C000", "c00", "C51", "CFF", "CR", "CR2", "CRB",
                             "CF KEYDIS", "CF KEYDIS ALL", "CR PRESSURE ", "hello"}) {
        EXPECT_EQ(projector.answer(line, 0), std::nullopt) << line;
    }
}

TEST(Simulator, QueryRepliesDecodeIntoSensibleText) {
    Projector projector({0, 0});
    EXPECT_EQ(shown(projector, "CRA", 0), " Stand by");
    projector.answer("C00", 0);
    projector.answer("C07", 0);
    EXPECT_EQ(shown(projector, "CR1", 10), " Video");
    EXPECT_EQ(shown(projector, "CR4", 10), " Normally");
    EXPECT_EQ(shown(projector, "CR7", 10), " No1 ON  : 2 Lamp mode");
    EXPECT_EQ(shown(projector, "CRA", 10), " Video & Audio mute OFF");
    projector.answer("C0B", 10);
    EXPECT_EQ(shown(projector, "CRA", 10), " Audio mute ON");
    projector.answer("C0D", 10);
    EXPECT_EQ(shown(projector, "CRA", 10), " Video & Audio mute ON");
    EXPECT_EQ(shown(projector, "CR9", 10), " K R 6 0 P   V e r 1 . 4 0 CR ");

    for (std::int64_t t = 0; t < 600'000; t += 7'777) {
        const std::string temperatures = shown(projector, "CR6", t);
        // "  S1= d d d . d C  ,   S2=  d d . d C , S3= d d d . d C"
        ASSERT_EQ(temperatures.size(), 55u) << temperatures;
        EXPECT_EQ(temperatures.substr(0, 5), "  S1=");
        EXPECT_EQ(temperatures.substr(temperatures.size() - 2), " C");
        EXPECT_EQ(temperatures.find("CR"), std::string::npos) << temperatures;

        const std::string pressure = shown(projector, "CR PRESSURE", t);
        const int hPa = std::stoi(pressure);
        EXPECT_GE(hPa, 990);
        EXPECT_LE(hPa, 1040);
        EXPECT_EQ(pressure.substr(pressure.size() - 4), " hPa");
    }
}

TEST(Simulator, TrafficLogNamesControlBytes) {
    EXPECT_EQ(sim::printable("C00\r"), "C00<CR>");
    EXPECT_EQ(sim::printable("\x06"), "<ACK>");
    EXPECT_EQ(sim::printable(std::string("\0\x14\x1f\x7f\x80\xff<a", 8)),
              "<NUL><DC4><US><DEL><0x80><0xFF><<>a");
}

TEST(Simulator, RepliesAreCutIntoChunks) {
    using Chunks = std::vector<std::string>;
    EXPECT_EQ(sim::chunksOf("00\r", 0), (Chunks{"00\r"}));
    EXPECT_EQ(sim::chunksOf("00\r", 1), (Chunks{"0", "0", "\r"}));
    EXPECT_EQ(sim::chunksOf("KR60P Ver1.40\r", 4), (Chunks{"KR60", "P Ve", "r1.4", "0\r"}));
    EXPECT_EQ(sim::chunksOf("", 2), (Chunks{""}));
}
