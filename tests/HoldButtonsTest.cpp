#include <gtest/gtest.h>

#include "PanelFixture.h"

namespace {

class HoldButtons : public PanelTest {
  protected:
    // Holds a button for the given time and returns the lines it sent.
    std::vector<std::string> hold(const std::string& control, int ms) {
        sent();
        button(control).press();
        advance(ms);
        button(control).release();
        return sent();
    }

    // When each line went out, over a hold of the given time.
    std::vector<std::int64_t> sendTimes(const std::string& control, int ms) {
        std::vector<std::int64_t> times;
        sent();
        const std::int64_t start = tk.clock.now();
        button(control).press();
        for (int t = 0; t <= ms; ++t) {
            if (t > 0) advance(1);
            for (std::size_t i = 0; i < sent().size(); ++i) times.push_back(tk.clock.now() - start);
        }
        button(control).release();
        return times;
    }

    // Whether a button is held: only then does a tick of Timer1 (one already
    // on its way, say) send anything.
    bool holding() {
        sent();
        fake::Timer& repeat = timer(names::RepeatTimer);
        const bool wasEnabled = repeat.enabled();
        repeat.setEnabled(true);
        advance(repeat.interval());
        repeat.setEnabled(wasEnabled);
        return !sent().empty();
    }

    void expectIntervals(int t1, int t2, int t4) {
        EXPECT_EQ(timer(names::RepeatTimer).interval(), t1);
        EXPECT_EQ(timer(names::ReplyTimeout).interval(), t2);
        EXPECT_EQ(timer(names::TraceClear).interval(), t4);
    }
};

using Times = std::vector<std::int64_t>;

}  // namespace

TEST_F(HoldButtons, EveryHoldButtonSendsItsCodeAndSetsItsIntervals) {
    struct Case {
        const char* control;
        const char* code;
        int t1, t2, t4;
    };
    for (const Case& c : {
             Case{names::VolumeUp, "C09", 250, 200, 245},
             Case{names::VolumeDown, "C0A", 250, 200, 245},
             Case{names::BrightnessUp, "C20", 50, 25, 25},
             Case{names::BrightnessDown, "C21", 50, 25, 25},
             Case{names::ZoomUp, "C30", 250, 200, 245},
             Case{names::ZoomDown, "C31", 250, 200, 245},
             Case{names::KeystoneUp, "C8E", 250, 200, 245},
             Case{names::KeystoneDown, "C8F", 250, 200, 245},
             Case{names::Select, "C3F", 500, 200, 245},
         }) {
        SCOPED_TRACE(c.control);
        sent();
        button(c.control).press();
        EXPECT_EQ(sent(), std::vector<std::string>{c.code});
        expectIntervals(c.t1, c.t2, c.t4);
        EXPECT_TRUE(timer(names::RepeatTimer).enabled());
        advance(c.t1);
        EXPECT_EQ(sent(), std::vector<std::string>{c.code});
        button(c.control).release();
        EXPECT_FALSE(holding());
    }
    for (const auto& [control, code] : {std::pair{names::CursorUp, "C3C"},
                                        {names::CursorDown, "C3D"},
                                        {names::CursorLeft, "C3B"},
                                        {names::CursorRight, "C3A"}}) {
        button(control).press();
        button(control).release();
        EXPECT_EQ(sent(), std::vector<std::string>{code}) << control;
    }
}

TEST_F(HoldButtons, VolumeUpHeldFollowsTheWorkedCycle) {
    button(names::VolumeUp).press();
    EXPECT_EQ(caption(names::SentTrace), " C 0 9 CR ");
    advance(200);
    EXPECT_EQ(caption(names::ReceivedTrace), " X X X X");
    advance(45);
    EXPECT_EQ(caption(names::SentTrace), "");
    EXPECT_EQ(caption(names::ReceivedTrace), "");
    advance(5);
    EXPECT_EQ(caption(names::SentTrace), " C 0 9 CR ");
    EXPECT_EQ(sent().size(), 2u);
    advance(350);
    EXPECT_EQ(sent().size(), 1u);
    button(names::VolumeUp).release();
    EXPECT_EQ(caption(names::SentTrace), "");
    advance(2000);
    EXPECT_TRUE(sent().empty());
}

TEST_F(HoldButtons, RepeatsAtTheIntervalOfTheHeldButton) {
    EXPECT_EQ(sendTimes(names::VolumeUp, 900), (Times{0, 250, 500, 750}));
    EXPECT_EQ(sendTimes(names::BrightnessUp, 190), (Times{0, 50, 100, 150}));
    EXPECT_EQ(sendTimes(names::Select, 1100), (Times{0, 500, 1000}));
    EXPECT_EQ(hold(names::VolumeUp, 249), std::vector<std::string>{"C09"});
}

TEST_F(HoldButtons, ATickAfterTheReleaseSendsNothing) {
    button(names::VolumeUp).press();
    button(names::VolumeUp).release();
    sent();
    timer(names::RepeatTimer).setEnabled(true);  // a tick already on its way
    advance(1000);
    EXPECT_TRUE(sent().empty());
}

TEST_F(HoldButtons, ASecondPressRunsThePressStepsAgainAndOneReleaseEndsTheHold) {
    button(names::VolumeUp).press();
    advance(100);
    button(names::VolumeUp).press();
    EXPECT_EQ(sent().size(), 2u);
    advance(250);
    EXPECT_EQ(sent().size(), 1u);
    button(names::VolumeUp).release();
    button(names::VolumeUp).release();
    advance(1000);
    EXPECT_TRUE(sent().empty());
}

TEST_F(HoldButtons, TheReleaseTidiesTheTrace) {
    button(names::VolumeUp).press();
    button(names::StatusQuery).click();
    tk.port.deliver("0");
    tk.port.deliver("0\r");
    ASSERT_EQ(caption(names::StatusText), " Power ON");
    tk.port.deliver("1");

    button(names::VolumeUp).release();
    EXPECT_EQ(caption(names::SentTrace), "");
    EXPECT_EQ(caption(names::ReceivedTrace), "");
    EXPECT_FALSE(timer(names::ReplyTimeout).enabled());
    EXPECT_TRUE(timer(names::TraceClear).enabled());
    expectIntervals(250, 500, 1000);
    advance(999);
    EXPECT_EQ(caption(names::StatusText), " Power ON");
    advance(1);
    EXPECT_EQ(caption(names::StatusText), "");
    EXPECT_NE(caption(names::ReceivedTrace), " X X X X");
    tk.port.deliver("2");  // the "1" went with the release
    EXPECT_EQ(caption(names::ReceivedTrace), " 2 ");
}

TEST_F(HoldButtons, ArrowsBeforeAnySetterLeaveTheIntervalsAlone) {
    button(names::CursorUp).press();
    expectIntervals(200, 500, 1000);
    button(names::CursorUp).release();
    EXPECT_EQ(sendTimes(names::CursorDown, 450), (Times{0, 200, 400}));

    button(names::PictureStandard).click();  // picture mode: 2000 / 2500
    button(names::CursorLeft).press();
    expectIntervals(200, 2000, 2500);
    button(names::CursorLeft).release();
}

TEST_F(HoldButtons, ArrowPacingFollowsTheLastSetter) {
    button(names::MenuOn).click();  // MENU ON
    button(names::CursorRight).press();
    expectIntervals(200, 150, 190);
    button(names::CursorRight).release();
    EXPECT_EQ(sendTimes(names::CursorRight, 450), (Times{0, 200, 400}));

    hold(names::VolumeUp, 10);  // VOL +
    button(names::CursorUp).press();
    expectIntervals(250, 150, 190);
    button(names::CursorUp).release();
    EXPECT_EQ(sendTimes(names::CursorUp, 600), (Times{0, 250, 500}));

    hold(names::Select, 10);  // SELECT
    EXPECT_EQ(sendTimes(names::CursorDown, 1100), (Times{0, 500, 1000}));

    hold(names::ZoomUp, 10);  // D.Zoom +
    EXPECT_EQ(arrowPacing(), (std::pair{5, 5}));
    EXPECT_EQ(timer(names::RepeatTimer).interval(), 5);
    button(names::CursorLeft).press();
    expectIntervals(5, 5, 5);
    button(names::CursorLeft).release();
    EXPECT_EQ(sendTimes(names::CursorLeft, 20), (Times{0, 5, 10, 15, 20}));

    EXPECT_EQ(sendTimes(names::ZoomDown, 500), (Times{0, 250, 500}));  // D.Zoom itself

    button(names::AutoImage).click();  // A-IMAGE
    button(names::CursorUp).press();
    expectIntervals(200, 150, 190);
    button(names::CursorUp).release();
    EXPECT_EQ(arrowPacing(), (std::pair{150, 190}));
}

TEST_F(HoldButtons, LosingThePointerEndsTheHold) {
    button(names::BrightnessUp).press();
    advance(120);
    sent();
    tk.window->losePointer();
    EXPECT_FALSE(timer(names::RepeatTimer).enabled());
    EXPECT_EQ(caption(names::SentTrace), "");
    advance(1000);
    EXPECT_TRUE(sent().empty());
    EXPECT_FALSE(holding());

    tk.window->losePointer();  // nothing held: nothing happens
    EXPECT_EQ(timer(names::ReplyTimeout).interval(), 500);
}

TEST_F(HoldButtons, LosingThePointerAfterADZoomHoldEndsItAsAReleaseWould) {
    button(names::ZoomUp).press();
    tk.window->losePointer();
    EXPECT_EQ(arrowPacing(), (std::pair{5, 5}));
    EXPECT_EQ(timer(names::RepeatTimer).interval(), 5);
}

TEST_F(HoldButtons, AFailureDuringAHoldGivesOneWarningAndStopsTheRepetition) {
    button(names::BrightnessUp).press();
    advance(60);
    tk.port.hangUp();
    advance(1000);
    EXPECT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_FALSE(timer(names::RepeatTimer).enabled());
    button(names::BrightnessUp).release();
    EXPECT_EQ(tk.box.warnings.size(), 1u);
}

TEST_F(HoldButtons, APressThatCannotSendDoesNotStartRepeating) {
    tk.port.hangUp();
    button(names::VolumeUp).press();
    EXPECT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_FALSE(timer(names::RepeatTimer).enabled());
    advance(1000);
    EXPECT_EQ(tk.box.warnings.size(), 1u);
}
