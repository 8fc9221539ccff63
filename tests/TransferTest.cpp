// The road of one command: transmit, receive, trace, decode, and the timers
// that end every exchange.

#include <gtest/gtest.h>

#include "tests/PanelFixture.h"

using Transfer = PanelTest;

TEST_F(Transfer, TransmitWritesTheLineAndArmsTheExchange) {
    form.link().sendCode("C00");
    EXPECT_EQ(tk.port.wire(), std::string("\x43\x30\x30\x0D"));
    EXPECT_EQ(caption("Label11"), " C 0 0 CR ");
    EXPECT_EQ(form.link().replyPending(), 1);
    EXPECT_TRUE(timer("Timer2").enabled());
    EXPECT_TRUE(timer("Timer4").enabled());
    EXPECT_EQ(caption("Label12"), "");
}

TEST_F(Transfer, StatusAnsweredIsDecodedAndClearedWithoutANoReplyMark) {
    button("Command44").click();
    advance(30);
    tk.port.deliver("00\r");
    EXPECT_EQ(caption("Label12"), " 0 0 CR ");
    EXPECT_EQ(caption("Label22"), " Power ON");
    EXPECT_EQ(form.link().replyPending(), 0);

    advance(470);  // the reply time-out at 500
    EXPECT_EQ(caption("Label12"), " 0 0 CR ");
    EXPECT_EQ(form.link().rxBuffer(), "");
    advance(499);
    EXPECT_EQ(caption("Label22"), " Power ON");
    advance(1);  // the trace-clear delay at 1000
    EXPECT_EQ(caption("Label11"), "");
    EXPECT_EQ(caption("Label12"), "");
    EXPECT_EQ(caption("Label22"), "");
    EXPECT_FALSE(timer("Timer2").enabled());
    EXPECT_FALSE(timer("Timer4").enabled());
}

TEST_F(Transfer, AnUnansweredCommandShowsNoReplyBetweenTheTwoIntervals) {
    struct Case {
        const char* presetButton;  // clicked first, answered, to set the pair
        int replyTimeout, traceClear;
    };
    for (const Case& c :
         {Case{nullptr, 500, 1000}, Case{"Command10", 2000, 2500}, Case{"Command64", 5000, 5500}}) {
        SCOPED_TRACE(c.replyTimeout);
        if (c.presetButton) {
            button(c.presetButton).click();
            advance(c.traceClear);
        }
        button("Command18").click();
        advance(c.replyTimeout - 1);
        EXPECT_EQ(caption("Label12"), "");
        advance(1);
        EXPECT_EQ(caption("Label12"), " X X X X");
        EXPECT_EQ(form.link().replyPending(), 0);
        advance(c.traceClear - c.replyTimeout - 1);
        EXPECT_EQ(caption("Label12"), " X X X X");
        advance(1);
        EXPECT_EQ(caption("Label12"), "");
        EXPECT_EQ(caption("Label11"), "");
    }
}

TEST_F(Transfer, AReplyAfterTheTimeOutIsDecodedOnItsOwn) {
    button("Command44").click();
    tk.port.deliver("8");
    advance(500);
    EXPECT_EQ(form.link().rxBuffer(), "");
    tk.port.deliver("00\r");
    EXPECT_EQ(caption("Label12"), " 0 0 CR ");
    EXPECT_EQ(caption("Label22"), " Power ON");
}

TEST_F(Transfer, AReplyInTwoChunksDecodesAfterTheSecond) {
    button("Command44").click();
    tk.port.deliver("0");
    EXPECT_EQ(caption("Label12"), " 0 ");
    EXPECT_EQ(caption("Label22"), "");
    tk.port.deliver("0\r");
    EXPECT_EQ(caption("Label12"), " 0 0 CR ");
    EXPECT_EQ(caption("Label22"), " Power ON");
    EXPECT_EQ(form.link().rxBuffer(), "00\r");
}

TEST_F(Transfer, ASecondTransmitGoesOutAtOnceAndTheQueryIsForgotten) {
    button("Command44").click();
    tk.port.deliver("8");
    button("Command18").click();
    EXPECT_EQ(sent(), (std::vector<std::string>{"CR0", "C01"}));
    EXPECT_EQ(form.link().replyPending(), 1);
    EXPECT_EQ(form.link().rxBuffer(), "8");
    tk.port.deliver("0\r");
    EXPECT_EQ(caption("Label12"), " 8 0 CR ");
    EXPECT_EQ(caption("Label22"), "");
}

TEST_F(Transfer, EarlierCharactersStayInFrontOfTheNextReply) {
    button("Command44").click();
    tk.port.deliver("2");
    button("Command44").click();
    tk.port.deliver("00\r");
    EXPECT_EQ(caption("Label22"), " Cooling down");
}

TEST_F(Transfer, OnlyReceiveEventsAreHandled) {
    button("Command44").click();
    tk.port.raise(toolkit::CommEventFailure);
    tk.port.raise(1);
    EXPECT_EQ(caption("Label12"), "");
    EXPECT_EQ(form.link().replyPending(), 1);
}

TEST_F(Transfer, UnaskedCharactersAreTracedButNotDecoded) {
    tk.port.deliver("00\r");
    EXPECT_EQ(caption("Label12"), " 0 0 CR ");
    EXPECT_EQ(caption("Label22"), "");
}

TEST_F(Transfer, AFailedTransmitWarnsOnceTracesNothingAndTheProgramGoesOn) {
    tk.port.hangUp();
    button("Command17").click();
    ASSERT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_EQ(tk.box.warnings[0], "The serial port is closed.");
    EXPECT_EQ(caption("Label11"), "");
    EXPECT_EQ(form.link().replyPending(), 0);
    EXPECT_FALSE(timer("Timer2").enabled());
    EXPECT_FALSE(form.ended());
    EXPECT_EQ(form.link().sendLine(), "C00\r");
}

TEST_F(Transfer, TheReceiveBufferKeepsOnlyItsFirst32767Characters) {
    const std::string chunk(10'000, 'A');
    for (int i = 0; i < 5; ++i) tk.port.deliver(chunk);
    EXPECT_EQ(form.link().rxBuffer().size(), 32767u);
    EXPECT_EQ(caption("Label12").size(), 1 + 2 * 32767u);
    tk.port.deliver("B");
    EXPECT_EQ(form.link().rxBuffer().find('B'), std::string::npos);

    button("Command44").click();
    advance(500);
    tk.port.deliver("00\r");
    EXPECT_EQ(caption("Label22"), " Power ON");
}

TEST_F(Transfer, ComShowsThePortSettingsUntilTimer3Fires) {
    button("Command33").click();
    EXPECT_TRUE(tk.frame("Frame8").visible());
    EXPECT_TRUE(timer("Timer3").enabled());
    EXPECT_TRUE(tk.port.writes.empty());
    advance(4999);
    EXPECT_TRUE(tk.frame("Frame8").visible());
    advance(1);
    EXPECT_FALSE(tk.frame("Frame8").visible());
    EXPECT_FALSE(timer("Timer3").enabled());
}

TEST_F(Transfer, APortChoiceHidesTheSettingsSoonerAndTimer3StillFiresHarmlessly) {
    button("Command33").click();
    advance(1000);
    tk.option("Option1").click();
    EXPECT_FALSE(tk.frame("Frame8").visible());
    EXPECT_TRUE(timer("Timer3").enabled());
    advance(4000);
    EXPECT_FALSE(tk.frame("Frame8").visible());
    EXPECT_FALSE(timer("Timer3").enabled());
}

TEST_F(Transfer, Timer5IsNeverEnabled) {
    for (auto& [name, b] : tk.buttons) {
        if (name != "Command16") b->click();
    }
    advance(20'000);
    EXPECT_FALSE(timer("Timer5").enabled());
}
