// The road of one command: transmit, receive, trace, decode, and the timers
// that end every exchange.

#include <gtest/gtest.h>

#include "PanelFixture.h"

using Transfer = PanelTest;

TEST_F(Transfer, TransmitWritesTheLineAndArmsTheExchange) {
    EXPECT_TRUE(form.link().send("C00"));
    EXPECT_EQ(tk.port.wire(), std::string("\x43\x30\x30\x0D"));
    EXPECT_EQ(caption(names::SentTrace), " C 0 0 CR ");
    EXPECT_TRUE(timer(names::ReplyTimeout).enabled());
    EXPECT_TRUE(timer(names::TraceClear).enabled());
    EXPECT_EQ(caption(names::ReceivedTrace), "");
    // A reply is pending: the reply time-out marks it missing.
    advance(500);
    EXPECT_EQ(caption(names::ReceivedTrace), " X X X X");
}

TEST_F(Transfer, StatusAnsweredIsDecodedAndClearedWithoutANoReplyMark) {
    button(names::StatusQuery).click();
    advance(30);
    tk.port.deliver("00\r");
    EXPECT_EQ(caption(names::ReceivedTrace), " 0 0 CR ");
    EXPECT_EQ(caption(names::StatusText), " Power ON");

    advance(470);  // the reply time-out at 500: nothing is pending any more
    EXPECT_EQ(caption(names::ReceivedTrace), " 0 0 CR ");
    advance(499);
    EXPECT_EQ(caption(names::StatusText), " Power ON");
    advance(1);  // the trace-clear delay at 1000
    EXPECT_EQ(caption(names::SentTrace), "");
    EXPECT_EQ(caption(names::ReceivedTrace), "");
    EXPECT_EQ(caption(names::StatusText), "");
    EXPECT_FALSE(timer(names::ReplyTimeout).enabled());
    EXPECT_FALSE(timer(names::TraceClear).enabled());
    // The time-out emptied the receive buffer: the next characters stand alone.
    tk.port.deliver("80\r");
    EXPECT_EQ(caption(names::ReceivedTrace), " 8 0 CR ");
}

TEST_F(Transfer, AnUnansweredCommandShowsNoReplyBetweenTheTwoIntervals) {
    struct Case {
        const char* presetButton;  // clicked first, answered, to set the pair
        int replyTimeout, traceClear;
    };
    for (const Case& c : {Case{nullptr, 500, 1000}, Case{names::PictureReal, 2000, 2500},
                          Case{names::Pc1Rgb, 5000, 5500}}) {
        SCOPED_TRACE(c.replyTimeout);
        if (c.presetButton) {
            button(c.presetButton).click();
            advance(c.traceClear);
        }
        button(names::PowerOff).click();
        advance(c.replyTimeout - 1);
        EXPECT_EQ(caption(names::ReceivedTrace), "");
        advance(1);
        EXPECT_EQ(caption(names::ReceivedTrace), " X X X X");
        advance(c.traceClear - c.replyTimeout - 1);
        EXPECT_EQ(caption(names::ReceivedTrace), " X X X X");
        advance(1);
        EXPECT_EQ(caption(names::ReceivedTrace), "");
        EXPECT_EQ(caption(names::SentTrace), "");
    }
}

TEST_F(Transfer, AReplyAfterTheTimeOutIsDecodedOnItsOwn) {
    button(names::StatusQuery).click();
    tk.port.deliver("8");
    advance(500);
    tk.port.deliver("00\r");  // the "8" was dropped with the time-out
    EXPECT_EQ(caption(names::ReceivedTrace), " 0 0 CR ");
    EXPECT_EQ(caption(names::StatusText), " Power ON");
}

TEST_F(Transfer, AReplyInTwoChunksDecodesAfterTheSecond) {
    button(names::StatusQuery).click();
    tk.port.deliver("0");
    EXPECT_EQ(caption(names::ReceivedTrace), " 0 ");
    EXPECT_EQ(caption(names::StatusText), "");
    tk.port.deliver("0\r");
    EXPECT_EQ(caption(names::ReceivedTrace), " 0 0 CR ");
    EXPECT_EQ(caption(names::StatusText), " Power ON");
}

TEST_F(Transfer, ASecondTransmitGoesOutAtOnceAndTheQueryIsForgotten) {
    button(names::StatusQuery).click();
    tk.port.deliver("8");
    button(names::PowerOff).click();
    EXPECT_EQ(sent(), (std::vector<std::string>{"CR0", "C01"}));
    tk.port.deliver("0\r");  // the "8" is still in the buffer
    EXPECT_EQ(caption(names::ReceivedTrace), " 8 0 CR ");
    EXPECT_EQ(caption(names::StatusText), "");
}

TEST_F(Transfer, AStaleCharacterDoesNotHideAMissingReply) {
    button(names::StatusQuery).click();
    tk.port.deliver("8");
    button(names::PowerOff).click();  // a reply is pending again, "8" still buffered
    advance(500);
    EXPECT_EQ(caption(names::ReceivedTrace), " X X X X");
}

TEST_F(Transfer, EarlierCharactersStayInFrontOfTheNextReply) {
    button(names::StatusQuery).click();
    tk.port.deliver("2");
    button(names::StatusQuery).click();
    tk.port.deliver("00\r");
    EXPECT_EQ(caption(names::StatusText), " Cooling down");
}

TEST_F(Transfer, OnlyReceiveEventsAreHandled) {
    button(names::StatusQuery).click();
    tk.port.raise(static_cast<toolkit::CommEvent>(1001));  // a break on the line
    tk.port.raise(static_cast<toolkit::CommEvent>(1));
    EXPECT_EQ(caption(names::ReceivedTrace), "");
    advance(500);  // the reply is still pending
    EXPECT_EQ(caption(names::ReceivedTrace), " X X X X");
}

TEST_F(Transfer, UnaskedCharactersAreTracedButNotDecoded) {
    tk.port.deliver("00\r");
    EXPECT_EQ(caption(names::ReceivedTrace), " 0 0 CR ");
    EXPECT_EQ(caption(names::StatusText), "");
}

TEST_F(Transfer, AFailedTransmitWarnsOnceTracesNothingAndTheProgramGoesOn) {
    tk.port.hangUp();
    button(names::PowerOn).click();
    ASSERT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_EQ(tk.box.warnings[0],
              "Nothing was sent: the serial port COM1 (/dev/ttyS0) is closed. Choose a port "
              "under COM.");
    EXPECT_EQ(caption(names::SentTrace), "");
    EXPECT_EQ(linesSent.failed, std::vector<std::string>{"C00\r"});
    EXPECT_FALSE(timer(names::ReplyTimeout).enabled());
    advance(1000);  // no reply was pending
    EXPECT_EQ(caption(names::ReceivedTrace), "");
    EXPECT_FALSE(tk.window->unloaded());
    button(names::Com).click();
    EXPECT_TRUE(tk.frame(names::PortSettings).visible());
}

TEST_F(Transfer, TheReceiveBufferKeepsOnlyItsFirst32767Characters) {
    const std::string chunk(10'000, 'A');
    for (int i = 0; i < 5; ++i) tk.port.deliver(chunk);
    EXPECT_EQ(caption(names::ReceivedTrace).size(), 1 + 2 * 32767u);
    tk.port.deliver("B");
    EXPECT_EQ(caption(names::ReceivedTrace).size(), 1 + 2 * 32767u);
    EXPECT_EQ(caption(names::ReceivedTrace).find('B'), std::string::npos);

    button(names::StatusQuery).click();
    advance(500);
    tk.port.deliver("00\r");
    EXPECT_EQ(caption(names::StatusText), " Power ON");
}

TEST_F(Transfer, Timer5IsNeverEnabled) {
    for (auto& [name, b] : tk.buttons) {
        if (name != names::End) b->click();
    }
    advance(20'000);
    EXPECT_FALSE(timer(names::SpareTimer).enabled());
}
