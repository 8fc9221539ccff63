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

TEST(StartUp, APortThatCannotBeOpenedEndsTheProgramWhenTheOperatorQuits) {
    fake::Toolkit tk;
    tk.port.missingPorts = {1};
    panel::Form1 form(tk);
    std::vector<std::string> told;
    form.onStartFailure([&told](const std::string& text) { told.push_back(text); });
    form.Form_Load();  // the box is answered with its last choice, Quit
    ASSERT_EQ(tk.box.asked.size(), 1u);
    EXPECT_EQ(told, tk.box.asked);
    EXPECT_NE(tk.box.asked[0].find("There is no serial device /dev/ttyS0 (COM1)."),
              std::string::npos);
    EXPECT_FALSE(tk.window->shown());
    EXPECT_TRUE(form.ended());
    EXPECT_EQ(form.exitStatus(), 1);
}

// Started from a menu with the kept adapter gone, the operator is not locked
// out: the box offers the device menu, a failed choice comes back to the box
// with its own reason, one that opens lets the start go on and is kept.
TEST(StartUp, TheFailureBoxOffersAnotherDevice) {
    fake::Toolkit tk;
    tk.stored.values["devices/COM1"] = "/dev/serial/by-id/usb-gone";
    tk.port.slowOpens = true;
    panel::Form1 form(tk);
    std::vector<std::string> choices;
    tk.box.answer = [&choices](const std::string&, const std::vector<std::string>& offered) {
        choices = offered;
        return std::size_t{0};  // "Choose device…"
    };
    tk.menu.answer = [](const std::vector<toolkit::MenuItem>&) {
        return std::optional<std::size_t>(1);  // "Other device…"
    };
    tk.prompt.typed = {"tcp://10.0.0.9:4001", "tcp://10.0.0.5:4001"};
    form.Form_Load();
    EXPECT_TRUE(tk.box.asked.empty());  // still connecting
    tk.port.failOpen(toolkit::Fault::Kind::NoSuchDevice);
    ASSERT_EQ(tk.box.asked.size(), 1u);
    EXPECT_EQ(choices, (std::vector<std::string>{"Choose device…", "Quit"}));
    tk.port.failOpen(toolkit::Fault::Kind::Refused);
    ASSERT_EQ(tk.box.asked.size(), 2u);
    EXPECT_NE(tk.box.asked[1].find("tcp://10.0.0.9:4001 (COM1) cannot be reached"),
              std::string::npos)
        << tk.box.asked[1];
    EXPECT_NE(tk.box.asked[1].find("COM1 stands for tcp://10.0.0.9:4001 because"),
              std::string::npos)
        << tk.box.asked[1];
    EXPECT_FALSE(tk.window->shown());

    tk.port.finishOpen();
    EXPECT_TRUE(tk.window->shown());
    EXPECT_EQ(tk.stored.values["devices/COM1"], "tcp://10.0.0.5:4001");
    EXPECT_EQ(tk.port.device(), "tcp://10.0.0.5:4001");
    EXPECT_FALSE(form.ended());
}

TEST(StartUp, NothingHappensUntilTheOperatorActs) {
    fake::Toolkit tk;
    panel::Form1 form(tk);
    form.Form_Load();
    tk.clock.advance(60'000);
    EXPECT_TRUE(tk.port.writes.empty());
}

using PortChoice = PanelTest;

// However the program is asked to end, it ends as "END" does, and says why.
TEST(Ending, EveryEndClosesThePortUnloadsAndTellsWhy) {
    struct Ended : projector::LinkListener {
        void portEvent(const projector::PortEvent& event) override {
            if (event.kind == projector::PortEvent::Kind::Closed) said.push_back("CLOSED");
            if (event.kind == projector::PortEvent::Kind::Ended) said.push_back(event.reason);
        }
        std::vector<std::string> said;
    };
    const std::vector<std::pair<std::string, std::function<void(fake::Toolkit&, panel::Form1&)>>>
        endings{{"END was pressed",
                 [](fake::Toolkit& tk, panel::Form1&) { tk.button(names::End).click(); }},
                {"the window was closed",
                 [](fake::Toolkit& tk, panel::Form1&) { tk.window->closeByFrame(); }},
                {"SIGTERM", [](fake::Toolkit&, panel::Form1& form) { form.end("SIGTERM"); }}};
    for (const auto& [why, end] : endings) {
        SCOPED_TRACE(why);
        fake::Toolkit tk;
        panel::Form1 form(tk);
        form.Form_Load();
        Ended ended;
        form.port().addListener(ended);
        end(tk, form);
        end(tk, form);  // a second request changes nothing
        EXPECT_EQ(ended.said, (std::vector<std::string>{"CLOSED", why}));
        EXPECT_FALSE(tk.port.portOpen());
        EXPECT_TRUE(tk.window->unloaded());
        EXPECT_EQ(form.exitStatus(), 0);
    }
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
