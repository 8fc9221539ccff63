#include <gtest/gtest.h>

#include "PanelFixture.h"

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
    EXPECT_TRUE(tk.option(names::Com1).value());
    EXPECT_FALSE(tk.option(names::Com2).value());
    EXPECT_TRUE(tk.option(names::Speed19200).value());
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());
    EXPECT_FALSE(tk.button(names::DataToggle).visible());
    EXPECT_TRUE(tk.box.warnings.empty());
    EXPECT_TRUE(tk.port.writes.empty());
    for (auto& [name, timer] : tk.timers) EXPECT_FALSE(timer->enabled()) << name;
    // The command prefix is empty: a line is its code and a CR, nothing more.
    tk.button(names::PowerOn).click();
    EXPECT_EQ(tk.port.wire(), "C00\r");
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
    tk.button(names::Com).click();
    tk.option(names::Com2).click();
    EXPECT_EQ(tk.port.calls, (Calls{"close", "port 2", "open"}));
    EXPECT_EQ(tk.port.commPort(), 2);
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());
    EXPECT_TRUE(tk.box.warnings.empty());
}

TEST_F(PortChoice, AFailedSwitchWarnsOnceAndLeavesThePortClosed) {
    tk.port.missingPorts = {2};
    tk.button(names::Com).click();
    tk.option(names::Com2).click();
    ASSERT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_EQ(tk.box.warnings[0], "There is no serial device for COM2.");
    EXPECT_EQ(tk.port.commPort(), 1);
    EXPECT_FALSE(tk.port.portOpen());
    EXPECT_TRUE(tk.option(names::Com2).value());
    EXPECT_TRUE(tk.frame(names::PortSettings).visible());
}

TEST_F(PortChoice, AChoiceWhileClosedOpensTheChosenPort) {
    tk.port.missingPorts = {2};
    tk.option(names::Com2).click();
    ASSERT_FALSE(tk.port.portOpen());
    tk.port.calls.clear();

    tk.option(names::Com1).click();
    EXPECT_EQ(tk.port.calls, (Calls{"port 1", "open"}));
    EXPECT_TRUE(tk.port.portOpen());
    EXPECT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());

    tk.button(names::PowerOn).click();
    EXPECT_EQ(sent(), std::vector<std::string>{"C00"});
}

TEST_F(PortChoice, AChoiceWhileClosedReportsAFailureAsTheSwitchDoes) {
    tk.port.missingPorts = {2};
    tk.option(names::Com2).click();
    tk.option(names::Com2).click();
    EXPECT_EQ(tk.box.warnings.size(), 2u);
    EXPECT_EQ(tk.port.commPort(), 1);
    EXPECT_FALSE(tk.port.portOpen());
}

TEST_F(PortChoice, SpeedAppliesAtOnceOpenOrClosedAndSurvivesASwitch) {
    tk.option(names::Com2).click();
    tk.port.calls.clear();
    tk.option(names::Speed9600).click();
    EXPECT_EQ(tk.port.calls, (Calls{"settings 9600,N,8,1"}));
    EXPECT_TRUE(tk.port.portOpen());

    tk.option(names::Com1).click();
    EXPECT_EQ(tk.port.settings(), "9600,N,8,1");

    tk.port.missingPorts = {2};
    tk.option(names::Com2).click();
    ASSERT_FALSE(tk.port.portOpen());
    tk.button(names::Com).click();
    tk.option(names::Speed19200).click();
    EXPECT_EQ(tk.port.settings(), "19200,N,8,1");
    EXPECT_FALSE(tk.port.portOpen());
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());
}

TEST_F(PortChoice, EndClosesThePortThenUnloadsAndNothingRunsAfter) {
    tk.button(names::PowerOn).click();
    sent();
    tk.button(names::End).click();
    EXPECT_EQ(tk.port.calls, (Calls{"close"}));
    EXPECT_TRUE(tk.window->unloaded());

    const std::string labelBefore = caption(names::SentTrace);
    advance(10'000);
    tk.button(names::VolumeUp).press();
    tk.port.deliver("00\r");
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(caption(names::SentTrace), labelBefore);
    EXPECT_EQ(caption(names::ReceivedTrace), "");
}
