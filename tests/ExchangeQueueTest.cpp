// The exchange queue for programs, on the fake port and the virtual clock: a
// reply belongs to its command, whole, or it is not an answer.

#include <gtest/gtest.h>

#include "QueueFixture.h"
#include "link/ExchangeQueue.h"
#include "tests/support/FakeToolkit.h"
#include "vocabulary/Decoder.h"

namespace {

using projector::Answer;
using projector::Expect;
using Outcome = Answer::Outcome;

class Exchanges : public QueueFixture {
  protected:
    void ask(const std::string& code, Expect expect) {
        queue.ask(code, expect, [this](const Answer& answer) { answers.push_back(answer); });
    }

    std::vector<Answer> answers;
};

}  // namespace

TEST_F(Exchanges, OneCommandIsOnTheWireAtATimeInTheOrderAsked) {
    ask("CR0", Expect::Line);
    ask("C00", Expect::Ack);
    ask("CR3", Expect::Line);
    EXPECT_EQ(wire(), std::vector<std::string>{"CR0\r"});
    port.deliver("8");
    EXPECT_TRUE(wire().empty());  // a reply still coming
    port.deliver("0\r");
    EXPECT_EQ(wire(), std::vector<std::string>{"C00\r"});
    port.deliver("\x06");
    EXPECT_EQ(wire(), std::vector<std::string>{"CR3\r"});
    port.deliver("01234\r");
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[0].decoded, " Stand by");
    EXPECT_EQ(answers[0].reply, "80\r");
    EXPECT_TRUE(answers[1].answered());
    EXPECT_EQ(answers[2].reply, "01234\r");
    EXPECT_TRUE(queue.idle());
}

// Each reply judged: complete, of the kind expected, and read where a query's.
TEST_F(Exchanges, AReplyIsAnAnswerOnlyWholeOfItsKindAndRead) {
    struct Case {
        const char* what;
        std::string code;
        Expect expect;
        std::vector<std::string> pieces;  // 100 ms apart
        Outcome outcome;
    };
    for (const Case& c : std::vector<Case>{
             {"a line", "CR0", Expect::Line, {"2", "0\r"}, Outcome::Answered},
             {"nothing", "CR0", Expect::Line, {}, Outcome::NoReply},
             {"cut before its CR", "CR3", Expect::Line, {"012"}, Outcome::Cut},
             {"unreadable", "CR0", Expect::Line, {"?x80\r"}, Outcome::Undecoded},
             {"hours that are no number",
              "CR3",
              Expect::Line,
              {"\x81"
               "0123\r"},
              Outcome::Undecoded},
             {"pressure out of range",
              "CR PRESSURE",
              Expect::Line,
              {"99999\r"},
              Outcome::Undecoded},
             {"an ACK for a query", "CR0", Expect::Line, {"\x06"}, Outcome::Unexpected},
             {"a line for an action", "C00", Expect::Ack, {"80\r"}, Outcome::Unexpected},
             {"either for a typed code", "CR2", Expect::Either, {"12\r"}, Outcome::Answered},
             {"trickling in past the silence",
              "CR3",
              Expect::Line,
              {"0", "1", "2", "3", "4", "5", "\r"},
              Outcome::Answered},
         }) {
        SCOPED_TRACE(c.what);
        answers.clear();
        clock.advance(5000);  // whatever the last case left is over
        ask(c.code, c.expect);
        for (const std::string& piece : c.pieces) {
            clock.advance(100);
            port.deliver(piece);
        }
        clock.advance(600);
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].outcome, c.outcome);
        // The window's words wherever it shows words, a number or not.
        const bool windowShowsWords =
            c.outcome == Outcome::Answered
                ? projector::isQuery(c.code)
                : c.outcome == Outcome::Undecoded && (c.code == "CR3" || c.code == "CR PRESSURE");
        EXPECT_EQ(answers[0].decoded.has_value(), windowShowsWords);
    }
}

// What comes after a command's time-out is nobody's: the next command waits
// until the line has been quiet a while.
TEST_F(Exchanges, ALateReplyIsNeverTheNextCommands) {
    std::vector<std::string> unasked;
    queue.onUnasked([&](const std::string& bytes) { unasked.push_back(bytes); });
    // Nothing at all, or a reply cut short: the rest of it may come yet.
    for (const std::string first : {"", "8"}) {
        SCOPED_TRACE("first \"" + first + "\"");
        answers.clear();
        clock.advance(5000);
        ask("CR0", Expect::Line);
        ask("CR3", Expect::Line);
        wire();
        if (!first.empty()) port.deliver(first);
        clock.advance(500);
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].outcome, first.empty() ? Outcome::NoReply : Outcome::Cut);
        clock.advance(200);
        port.deliver("80\r");  // the late reply
        clock.advance(499);
        EXPECT_TRUE(wire().empty());
        clock.advance(1);
        EXPECT_EQ(wire(), std::vector<std::string>{"CR3\r"});
        port.deliver("01234\r");
        ASSERT_EQ(answers.size(), 2u);
        EXPECT_EQ(answers[1].reply, "01234\r");
    }
    EXPECT_TRUE(unasked.empty());  // a late reply is nobody's, not news for all
    port.deliver("FF\r");
    EXPECT_EQ(unasked, std::vector<std::string>{"FF\r"});
}

// A picture mode or a signal type takes the projector longer: its reply is
// waited for that long, and any other for the usual silence.
TEST_F(Exchanges, ASlowCommandIsWaitedForItsOwnReplyTime) {
    for (const auto& [code, replyMs] : {std::pair{"C11", 2000}, {"C50", 5000}, {"C00", 500}}) {
        SCOPED_TRACE(code);
        answers.clear();
        clock.advance(5000);
        wire();
        ask(code, Expect::Ack);
        clock.advance(replyMs - 1);
        EXPECT_TRUE(answers.empty());
        port.deliver("\x06");
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_TRUE(answers[0].answered());
    }
}

// A device that goes fails the exchange under way and every one waiting at
// once; once it is back, exchanges go on.
TEST_F(Exchanges, ALostDeviceFailsEveryExchangeAtOnce) {
    ask("CR0", Expect::Line);
    ask("CR3", Expect::Line);
    port.unplug();
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].outcome, Outcome::Lost);
    EXPECT_EQ(answers[1].outcome, Outcome::NotSent);
    EXPECT_EQ(answers[1].fault.kind, toolkit::Fault::Kind::Lost);
    ask("C00", Expect::Ack);
    EXPECT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[2].outcome, Outcome::NotSent);
    wire();
    port.plugIn();
    clock.advance(1000);
    ask("C00", Expect::Ack);
    EXPECT_EQ(wire(), std::vector<std::string>{"C00\r"});
}

// Each reply is read with its own words, whatever is asked back to back
// after it: the traffic log's STATUS lines are of the exchange a reply
// belongs to, and an action's reply has none.
TEST_F(Exchanges, EachExchangeIsDecodedFromItsOwnReply) {
    struct Decoded : projector::LinkListener {
        void statusDecoded(const std::string& text) override { texts.push_back(text); }
        std::vector<std::string> texts;
    } decoded;
    link.addListener(decoded);
    ask("CR3", Expect::Line);
    ask("CR7", Expect::Line);
    ask("CR0", Expect::Line);
    ask("C00", Expect::Ack);
    ask("CR0", Expect::Line);
    for (const std::string reply : {"01234\r", "01\r", "80\r", "\x06", "20\r"}) {
        port.deliver(reply);
    }
    EXPECT_EQ(decoded.texts,
              (std::vector<std::string>{" 0 1 2 3 4 CR  Hour Use", " No1 ON  : 2 Lamp mode",
                                        " Stand by", " Cooling down"}));
}
