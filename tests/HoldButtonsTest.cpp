#include <gtest/gtest.h>

#include "tests/PanelFixture.h"

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

    void expectIntervals(int t1, int t2, int t4) {
        EXPECT_EQ(timer("Timer1").interval(), t1);
        EXPECT_EQ(timer("Timer2").interval(), t2);
        EXPECT_EQ(timer("Timer4").interval(), t4);
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
             Case{"Command1", "C09", 250, 200, 245},
             Case{"Command2", "C0A", 250, 200, 245},
             Case{"Command15", "C20", 50, 25, 25},
             Case{"Command35", "C21", 50, 25, 25},
             Case{"Command48", "C30", 250, 200, 245},
             Case{"Command49", "C31", 250, 200, 245},
             Case{"Command50", "C8E", 250, 200, 245},
             Case{"Command51", "C8F", 250, 200, 245},
             Case{"Command6", "C3F", 500, 200, 245},
         }) {
        SCOPED_TRACE(c.control);
        sent();
        button(c.control).press();
        EXPECT_EQ(sent(), std::vector<std::string>{c.code});
        expectIntervals(c.t1, c.t2, c.t4);
        EXPECT_TRUE(timer("Timer1").enabled());
        advance(c.t1);
        EXPECT_EQ(sent(), std::vector<std::string>{c.code});
        button(c.control).release();
        EXPECT_EQ(form.RepeatKey, 0);
    }
    for (const auto& [control, code] : {std::pair{"Command5", "C3C"},
                                        {"Command7", "C3D"},
                                        {"Command9", "C3B"},
                                        {"Command8", "C3A"}}) {
        button(control).press();
        button(control).release();
        EXPECT_EQ(sent(), std::vector<std::string>{code}) << control;
    }
}

TEST_F(HoldButtons, VolumeUpHeldFollowsTheWorkedCycle) {
    button("Command1").press();
    EXPECT_EQ(caption("Label11"), " C 0 9 CR ");
    advance(200);
    EXPECT_EQ(caption("Label12"), " X X X X");
    advance(45);
    EXPECT_EQ(caption("Label11"), "");
    EXPECT_EQ(caption("Label12"), "");
    advance(5);
    EXPECT_EQ(caption("Label11"), " C 0 9 CR ");
    EXPECT_EQ(sent().size(), 2u);
    advance(350);
    EXPECT_EQ(sent().size(), 1u);
    button("Command1").release();
    EXPECT_EQ(caption("Label11"), "");
    advance(2000);
    EXPECT_TRUE(sent().empty());
}

TEST_F(HoldButtons, RepeatsAtTheIntervalOfTheHeldButton) {
    EXPECT_EQ(sendTimes("Command1", 900), (Times{0, 250, 500, 750}));
    EXPECT_EQ(sendTimes("Command15", 190), (Times{0, 50, 100, 150}));
    EXPECT_EQ(sendTimes("Command6", 1100), (Times{0, 500, 1000}));
    EXPECT_EQ(hold("Command1", 249), std::vector<std::string>{"C09"});
}

TEST_F(HoldButtons, ATickAfterTheReleaseSendsNothing) {
    button("Command1").press();
    button("Command1").release();
    sent();
    timer("Timer1").setEnabled(true);  // a tick already on its way
    advance(1000);
    EXPECT_TRUE(sent().empty());
}

TEST_F(HoldButtons, ASecondPressRunsThePressStepsAgainAndOneReleaseEndsTheHold) {
    button("Command1").press();
    advance(100);
    button("Command1").press();
    EXPECT_EQ(sent().size(), 2u);
    advance(250);
    EXPECT_EQ(sent().size(), 1u);
    button("Command1").release();
    button("Command1").release();
    advance(1000);
    EXPECT_TRUE(sent().empty());
}

TEST_F(HoldButtons, TheReleaseTidiesTheTrace) {
    button("Command1").press();
    button("Command44").click();
    tk.port.deliver("0");
    tk.port.deliver("0\r");
    ASSERT_EQ(caption("Label22"), " Power ON");
    tk.port.deliver("1");

    button("Command1").release();
    EXPECT_EQ(caption("Label11"), "");
    EXPECT_EQ(caption("Label12"), "");
    EXPECT_EQ(form.link().rxBuffer(), "");
    EXPECT_FALSE(timer("Timer2").enabled());
    EXPECT_TRUE(timer("Timer4").enabled());
    expectIntervals(250, 500, 1000);
    advance(999);
    EXPECT_EQ(caption("Label22"), " Power ON");
    advance(1);
    EXPECT_EQ(caption("Label22"), "");
    EXPECT_NE(caption("Label12"), " X X X X");
}

TEST_F(HoldButtons, ArrowsBeforeAnySetterLeaveTheIntervalsAlone) {
    button("Command5").press();
    expectIntervals(200, 500, 1000);
    button("Command5").release();
    EXPECT_EQ(sendTimes("Command7", 450), (Times{0, 200, 400}));

    button("Command4").click();  // picture mode: 2000 / 2500
    button("Command9").press();
    expectIntervals(200, 2000, 2500);
    button("Command9").release();
}

TEST_F(HoldButtons, ArrowPacingFollowsTheLastSetter) {
    button("Command23").click();  // MENU ON
    button("Command8").press();
    expectIntervals(200, 150, 190);
    button("Command8").release();
    EXPECT_EQ(sendTimes("Command8", 450), (Times{0, 200, 400}));

    hold("Command1", 10);  // VOL +
    button("Command5").press();
    expectIntervals(250, 150, 190);
    button("Command5").release();
    EXPECT_EQ(sendTimes("Command5", 600), (Times{0, 250, 500}));

    hold("Command6", 10);  // SELECT
    EXPECT_EQ(sendTimes("Command7", 1100), (Times{0, 500, 1000}));

    hold("Command48", 10);  // D.Zoom +
    EXPECT_EQ(form.ArrowMode, 3);
    EXPECT_EQ(timer("Timer1").interval(), 5);
    button("Command9").press();
    expectIntervals(5, 5, 5);
    button("Command9").release();
    EXPECT_EQ(sendTimes("Command9", 20), (Times{0, 5, 10, 15, 20}));

    EXPECT_EQ(sendTimes("Command49", 500), (Times{0, 250, 500}));  // D.Zoom itself

    button("Command13").click();  // A-IMAGE
    button("Command5").press();
    expectIntervals(200, 150, 190);
    button("Command5").release();
    EXPECT_EQ(form.ArrowMode, 1);
}

TEST_F(HoldButtons, LosingThePointerEndsTheHold) {
    button("Command15").press();
    advance(120);
    sent();
    tk.window->losePointer();
    EXPECT_EQ(form.RepeatKey, 0);
    EXPECT_FALSE(timer("Timer1").enabled());
    EXPECT_EQ(caption("Label11"), "");
    advance(1000);
    EXPECT_TRUE(sent().empty());

    tk.window->losePointer();  // nothing held: nothing happens
    EXPECT_EQ(timer("Timer2").interval(), 500);
}

TEST_F(HoldButtons, LosingThePointerAfterADZoomHoldEndsItAsAReleaseWould) {
    button("Command48").press();
    tk.window->losePointer();
    EXPECT_EQ(form.ArrowMode, 3);
    EXPECT_EQ(timer("Timer1").interval(), 5);
}

TEST_F(HoldButtons, AFailureDuringAHoldGivesOneWarningAndStopsTheRepetition) {
    button("Command15").press();
    advance(60);
    tk.port.hangUp();
    advance(1000);
    EXPECT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_EQ(form.RepeatKey, 0);
    EXPECT_FALSE(timer("Timer1").enabled());
    button("Command15").release();
    EXPECT_EQ(tk.box.warnings.size(), 1u);
}

TEST_F(HoldButtons, APressThatCannotSendDoesNotStartRepeating) {
    tk.port.hangUp();
    button("Command1").press();
    EXPECT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_FALSE(timer("Timer1").enabled());
    advance(1000);
    EXPECT_EQ(tk.box.warnings.size(), 1u);
}
