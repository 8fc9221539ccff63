// The line shared by many askers, on the fake port and the virtual clock: a
// projector that has gone silent, a share client's line ahead of the rest,
// and an answer kept under the era it was asked in.

#include <gtest/gtest.h>

#include "QueueFixture.h"
#include "link/SharedLine.h"
#include "vocabulary/Commands.h"

namespace {

using projector::Answer;
using Outcome = Answer::Outcome;

class Shared : public QueueFixture {
  protected:
    Shared() {
        clock.add(&probe);
        link.addListener(line);
        line.onSilence([this](bool silent) { silences.push_back(silent); });
    }
    void query(const std::string& code) {
        line.query(code, [this](const Answer& answer) { outcomes.push_back(answer.outcome); });
    }

    fake::Timer probe{clock, 0};
    projector::SharedLine line{queue, [this] { return clock.now(); }, probe};
    std::vector<Outcome> outcomes;
    std::vector<bool> silences;
};

}  // namespace

TEST_F(Shared, AProjectorSilentThreeExchangesRunningIsRefusedAtOnceAndProbedUntilItAnswers) {
    for (int i = 0; i < projector::kSilentAfter; ++i) {
        query("CR1");
        EXPECT_EQ(wire(), std::vector<std::string>{"CR1\r"});
        clock.advance(500 + 500);  // its time-out, and the quiet after it
    }
    EXPECT_EQ(silences, std::vector<bool>{true});
    outcomes.clear();
    query("CR0");
    line.exchange("C05", projector::Expect::Ack,
                  [this](const Answer& answer) { outcomes.push_back(answer.outcome); });
    EXPECT_EQ(outcomes, (std::vector<Outcome>{Outcome::Silent, Outcome::Silent}));
    EXPECT_EQ(wire(), std::vector<std::string>{});  // nothing but the probe, every 5 s
    clock.advance(projector::kProbeMs - 500 - 1);   // 5 s from the third time-out
    EXPECT_TRUE(wire().empty());
    clock.advance(1);
    EXPECT_EQ(wire(), std::vector<std::string>{"CR0\r"});
    port.deliver("80\r");
    EXPECT_EQ(silences, (std::vector<bool>{true, false}));
    query("CR1");
    EXPECT_EQ(wire(), std::vector<std::string>{"CR1\r"});
}

TEST_F(Shared, AShareClientsLineGoesAheadOfWhatWaitsAndOutEvenToASilentProjector) {
    query("CR0");
    query("CR1");
    query("CRA");
    std::vector<std::string> relayed;
    line.relay("C07", [&](const Answer& answer) { relayed.push_back(answer.reply); });
    EXPECT_EQ(wire(), std::vector<std::string>{"CR0\r"});  // the exchange on the wire
    port.deliver("00\r");
    EXPECT_EQ(wire(), std::vector<std::string>{"C07\r"});  // then the share's, at once
    port.deliver("\x06");
    EXPECT_EQ(relayed, std::vector<std::string>{"\x06"});
    EXPECT_EQ(wire(), std::vector<std::string>{"CR1\r"});
    // Waited for a second beyond its command's reply time.
    port.deliver("1\r");
    EXPECT_EQ(wire(), std::vector<std::string>{"CRA\r"});
    port.deliver("00\r");
    line.relay("C11", [&](const Answer& answer) { relayed.push_back(answer.reply); });
    EXPECT_EQ(wire(), std::vector<std::string>{"C11\r"});
    clock.advance(projector::kPictureModeReplyMs + 999);
    port.deliver("\x06");
    EXPECT_EQ(relayed.back(), "\x06");
}

TEST_F(Shared, AnAnswerToAQueryAskedBeforeACommandIsNotKept) {
    query("CR0");  // on the wire
    line.exchange("C00", projector::Expect::Ack, [](const Answer&) {});
    port.deliver("80\r");  // the answer of before the command
    port.deliver("\x06");
    outcomes.clear();
    query("CR0");  // not from the answer of before: asked again
    EXPECT_EQ(wire(), (std::vector<std::string>{"CR0\r", "C00\r", "CR0\r"}));
}
