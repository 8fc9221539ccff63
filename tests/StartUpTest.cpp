#include <gtest/gtest.h>

#include "tests/PanelFixture.h"

using Calls = std::vector<std::string>;

TEST(StartUp, OpensClosesAndReopensPortOneAndPlacesTheWindow) {
    fake::Toolkit tk;
    panel::Form1 form(tk);
    const int designHeight = tk.window->height();
    form.Form_Load();

    EXPECT_EQ(tk.port.calls,
              (Calls{"port 1", "settings 19200,N,8,1", "open", "close", "port 1", "open"}));
    EXPECT_TRUE(tk.port.portOpen());
    EXPECT_EQ(tk.port.settings(), "19200,N,8,1");
    EXPECT_EQ(tk.window->height(), 5350);
    EXPECT_EQ(tk.window->left(), (tk.screen().width() - 9495) / 2);
    EXPECT_EQ(tk.window->top(), (tk.screen().height() - designHeight) / 2);
    EXPECT_TRUE(tk.option("Option1").value());
    EXPECT_FALSE(tk.option("Option2").value());
    EXPECT_TRUE(tk.option("Option9").value());
    EXPECT_FALSE(tk.frame("Frame8").visible());
    EXPECT_FALSE(tk.button("Command34").visible());
    EXPECT_TRUE(tk.box.warnings.empty());
    EXPECT_TRUE(tk.port.writes.empty());
    for (auto& [name, timer] : tk.timers) EXPECT_FALSE(timer->enabled()) << name;
    EXPECT_EQ(form.link().portSettings(), "19200,N,8,1");
    EXPECT_EQ(form.link().commandPrefix(), "");
}

TEST(StartUp, FailsWhenPortOneCannotBeOpened) {
    fake::Toolkit tk;
    tk.port.missingPorts = {1};
    panel::Form1 form(tk);
    EXPECT_THROW(form.Form_Load(), toolkit::SerialError);
    EXPECT_FALSE(tk.window->shown());
}

TEST(StartUp, NothingHappensUntilTheOperatorActs) {
    fake::Toolkit tk;
    panel::Form1 form(tk);
    form.Form_Load();
    tk.clock.advance(60'000);
    EXPECT_TRUE(tk.port.writes.empty());
}

using PortChoice = PanelTest;

TEST_F(PortChoice, SwitchingClosesRenumbersAndReopens) {
    tk.button("Command33").click();
    tk.option("Option2").click();
    EXPECT_EQ(tk.port.calls, (Calls{"close", "port 2", "open"}));
    EXPECT_EQ(tk.port.commPort(), 2);
    EXPECT_FALSE(tk.frame("Frame8").visible());
    EXPECT_TRUE(tk.box.warnings.empty());
}

TEST_F(PortChoice, AFailedSwitchWarnsOnceAndLeavesThePortClosed) {
    tk.port.missingPorts = {2};
    tk.button("Command33").click();
    tk.option("Option2").click();
    ASSERT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_EQ(tk.box.warnings[0], "There is no serial device for COM2.");
    EXPECT_EQ(tk.port.commPort(), 1);
    EXPECT_FALSE(tk.port.portOpen());
    EXPECT_TRUE(tk.option("Option2").value());
    EXPECT_TRUE(tk.frame("Frame8").visible());
}

TEST_F(PortChoice, AChoiceWhileClosedOpensTheChosenPort) {
    tk.port.missingPorts = {2};
    tk.option("Option2").click();
    ASSERT_FALSE(tk.port.portOpen());
    tk.port.calls.clear();

    tk.option("Option1").click();
    EXPECT_EQ(tk.port.calls, (Calls{"port 1", "open"}));
    EXPECT_TRUE(tk.port.portOpen());
    EXPECT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_FALSE(tk.frame("Frame8").visible());

    tk.button("Command17").click();
    EXPECT_EQ(sent(), std::vector<std::string>{"C00"});
}

TEST_F(PortChoice, AChoiceWhileClosedReportsAFailureAsTheSwitchDoes) {
    tk.port.missingPorts = {2};
    tk.option("Option2").click();
    tk.option("Option2").click();
    EXPECT_EQ(tk.box.warnings.size(), 2u);
    EXPECT_EQ(tk.port.commPort(), 1);
    EXPECT_FALSE(tk.port.portOpen());
}

TEST_F(PortChoice, SpeedAppliesAtOnceOpenOrClosedAndSurvivesASwitch) {
    tk.option("Option2").click();
    tk.port.calls.clear();
    tk.option("Option10").click();
    EXPECT_EQ(tk.port.calls, (Calls{"settings 9600,N,8,1"}));
    EXPECT_TRUE(tk.port.portOpen());
    EXPECT_EQ(form.link().portSettings(), "9600,N,8,1");

    tk.option("Option1").click();
    EXPECT_EQ(tk.port.settings(), "9600,N,8,1");

    tk.port.missingPorts = {2};
    tk.option("Option2").click();
    ASSERT_FALSE(tk.port.portOpen());
    tk.button("Command33").click();
    tk.option("Option9").click();
    EXPECT_EQ(tk.port.settings(), "19200,N,8,1");
    EXPECT_FALSE(tk.port.portOpen());
    EXPECT_FALSE(tk.frame("Frame8").visible());
}

TEST_F(PortChoice, EndClosesThePortThenUnloadsAndNothingRunsAfter) {
    tk.button("Command17").click();
    sent();
    tk.button("Command16").click();
    EXPECT_EQ(tk.port.calls, (Calls{"close"}));
    EXPECT_TRUE(tk.window->unloaded());
    EXPECT_TRUE(form.ended());

    const std::string labelBefore = caption("Label11");
    advance(10'000);
    tk.button("Command1").press();
    tk.port.deliver("00\r");
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(caption("Label11"), labelBefore);
    EXPECT_EQ(caption("Label12"), "");
}
