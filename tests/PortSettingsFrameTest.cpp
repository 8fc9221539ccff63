// The port settings: "COM" shows Frame8, a port or a speed chosen there goes
// to the link, Timer3 hides the frame again; the frame stays under the
// device menu.

#include <gtest/gtest.h>

#include "PanelFixture.h"

using Calls = std::vector<std::string>;
using PortSettingsFrame = PanelTest;

TEST_F(PortSettingsFrame, SwitchingClosesRenumbersAndReopens) {
    tk.button(names::Com).click();
    tk.option(names::Com2).click();
    EXPECT_EQ(tk.port.calls, (Calls{"close", "port 2", "open"}));
    EXPECT_EQ(tk.port.commPort(), 2);
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());
    EXPECT_TRUE(tk.box.warnings.empty());
}

TEST_F(PortSettingsFrame, AFailedSwitchWarnsOnceAndLeavesThePortClosed) {
    tk.port.missingPorts = {2};
    tk.button(names::Com).click();
    tk.option(names::Com2).click();
    ASSERT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_EQ(tk.box.warnings[0], "There is no serial device /dev/ttyS1 (COM2).");
    EXPECT_EQ(tk.port.commPort(), 1);
    EXPECT_FALSE(tk.port.portOpen());
    EXPECT_TRUE(tk.option(names::Com2).value());
    EXPECT_TRUE(tk.frame(names::PortSettings).visible());
}

TEST_F(PortSettingsFrame, AChoiceWhileClosedOpensTheChosenPort) {
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

TEST_F(PortSettingsFrame, AChoiceWhileClosedReportsAFailureAsTheSwitchDoes) {
    tk.port.missingPorts = {2};
    tk.option(names::Com2).click();
    tk.option(names::Com2).click();
    EXPECT_EQ(tk.box.warnings.size(), 2u);
    EXPECT_EQ(tk.port.commPort(), 1);
    EXPECT_FALSE(tk.port.portOpen());
}

TEST_F(PortSettingsFrame, SpeedAppliesAtOnceOpenOrClosedAndSurvivesASwitch) {
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

TEST_F(PortSettingsFrame, TheSettingsFrameStaysWhileTheMenuIsOpen) {
    button(names::Com).click();
    tk.menu.answer = [this](const std::vector<toolkit::MenuItem>&) {
        advance(6000);  // Timer3 is due meanwhile
        EXPECT_TRUE(tk.frame(names::PortSettings).visible());
        return std::optional<std::size_t>();
    };
    tk.option(names::Com2).rightClick();
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());
    // Hidden once for that Timer3: a later menu closed early leaves it be.
    button(names::Com).click();
    tk.menu.answer = [](const std::vector<toolkit::MenuItem>&) {
        return std::optional<std::size_t>();
    };
    tk.option(names::Com2).rightClick();
    EXPECT_TRUE(tk.frame(names::PortSettings).visible());
}

TEST_F(PortSettingsFrame, TheMenuClosedBeforeTimer3LeavesTheFrameToIt) {
    button(names::Com).click();
    advance(1000);
    tk.option(names::Com2).rightClick();  // dismissed at once
    EXPECT_TRUE(tk.frame(names::PortSettings).visible());
    advance(3999);
    EXPECT_TRUE(tk.frame(names::PortSettings).visible());
    advance(1);
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());
}

TEST_F(PortSettingsFrame, ComShowsThePortSettingsUntilTimer3Fires) {
    button(names::Com).click();
    EXPECT_TRUE(tk.frame(names::PortSettings).visible());
    EXPECT_TRUE(timer(names::SettingsAutoHide).enabled());
    EXPECT_TRUE(tk.port.writes.empty());
    advance(4999);
    EXPECT_TRUE(tk.frame(names::PortSettings).visible());
    advance(1);
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());
    EXPECT_FALSE(timer(names::SettingsAutoHide).enabled());
}

TEST_F(PortSettingsFrame, APortChoiceHidesTheSettingsSoonerAndTimer3StillFiresHarmlessly) {
    button(names::Com).click();
    advance(1000);
    tk.option(names::Com1).click();
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());
    EXPECT_TRUE(timer(names::SettingsAutoHide).enabled());
    advance(4000);
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());
    EXPECT_FALSE(timer(names::SettingsAutoHide).enabled());
}

// An option that has the focus when the frame hides gives it back to "COM",
// never to the next control, which may send something at the next Space.
TEST_F(PortSettingsFrame, AHiddenOptionGivesTheFocusBackToCom) {
    button(names::Com).click();
    tk.frame(names::PortSettings).focusInside(true);
    advance(5000);
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());
    EXPECT_TRUE(button(names::Com).focused());
}
