// Choosing the device for COM1 or COM2 from the window, and a device that is
// unplugged and plugged in again.

#include <gtest/gtest.h>

#include "PanelFixture.h"

namespace {

// A panel on a laptop with two USB adapters; a right-click on a port option
// picks the menu item whose text contains `pick`.
class Devices : public PanelTest {
  protected:
    Devices()
        : PanelTest([](fake::Toolkit& machine) {
              machine.devices.devices = {adapter("usb-FTDI_A", "/dev/ttyUSB0"),
                                         adapter("usb-Prolific_B", "/dev/ttyUSB1")};
          }) {}

    void rightClick(const char* option, const std::string& pick) {
        tk.menu.answer = [pick](const std::vector<toolkit::MenuItem>& items) {
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (items[i].text.find(pick) != std::string::npos) {
                    return std::optional<std::size_t>(i);
                }
            }
            return std::optional<std::size_t>();
        };
        tk.option(option).rightClick();
    }
    std::optional<std::string> kept(int number) {
        return tk.stored.value("devices/COM" + std::to_string(number));
    }
};

}  // namespace

TEST_F(Devices, TheMenuListsWhatIsPresentWithTheCurrentOneTicked) {
    button(names::Com).click();
    rightClick(names::Com1, "nothing");
    std::vector<std::string> texts;
    for (const auto& item : tk.menu.shown) texts.push_back(item.text + (item.checked ? " *" : ""));
    EXPECT_EQ(texts, (std::vector<std::string>{"USB UART (/dev/serial/by-id/usb-FTDI_A) *",
                                               "USB UART (/dev/serial/by-id/usb-Prolific_B)",
                                               "Other device…", "Default"}));
    EXPECT_EQ(tk.option(names::Com1).toolTip(), "COM1: /dev/serial/by-id/usb-FTDI_A, USB UART");
    EXPECT_TRUE(tk.port.calls.empty());  // dismissed: nothing changes
}

TEST_F(Devices, AChoiceIsKeptAndSwitchesOnlyThePortItConcerns) {
    button(names::Com).click();
    // COM2 is not in use and the port is open: kept, no switch.
    rightClick(names::Com2, "usb-FTDI_A");
    EXPECT_EQ(kept(2), "/dev/serial/by-id/usb-FTDI_A");
    EXPECT_TRUE(tk.port.calls.empty());
    EXPECT_EQ(tk.option(names::Com2).toolTip(), "COM2: /dev/serial/by-id/usb-FTDI_A, USB UART");

    // COM1 is in use: the switch runs on the new device.
    rightClick(names::Com1, "usb-Prolific_B");
    EXPECT_EQ(kept(1), "/dev/serial/by-id/usb-Prolific_B");
    EXPECT_EQ(tk.port.calls, (std::vector<std::string>{"close", "port 1", "open"}));
    EXPECT_EQ(tk.port.device(), "/dev/serial/by-id/usb-Prolific_B");

    // "Default" forgets the choice.
    rightClick(names::Com1, "Default");
    EXPECT_EQ(kept(1), std::nullopt);
    EXPECT_EQ(tk.port.device(), "/dev/serial/by-id/usb-FTDI_A");
    EXPECT_TRUE(tk.box.warnings.empty());
}

TEST_F(Devices, ARefusedPathAsksAgainWithTheTextKept) {
    tk.prompt.typed = {"/home", "tcp://projector"};
    tk.devices.problems["/home"] = toolkit::Fault::Kind::NotSerial;
    tk.devices.problems["tcp://projector"] = toolkit::Fault::Kind::BadAddress;
    rightClick(names::Com1, "Other device");
    ASSERT_EQ(tk.box.warnings.size(), 2u);
    EXPECT_EQ(tk.box.warnings[0], "/home is not a serial device.");
    EXPECT_NE(tk.box.warnings[1].find("tcp://HOST:PORT"), std::string::npos);
    EXPECT_EQ(tk.prompt.initials, (std::vector<std::string>{"/dev/serial/by-id/usb-FTDI_A", "/home",
                                                            "tcp://projector"}));
    EXPECT_EQ(kept(1), std::nullopt);
    EXPECT_TRUE(tk.port.calls.empty());
}

// A choice that cannot be opened leaves the number, its device and the open
// port as they were, whichever number it was for and however it failed.
TEST_F(Devices, AFailedChoiceLeavesTheWorkingLinkAsItWas) {
    struct Case {
        const char* what;
        const char* option;
        const char* pick;
        bool slow;
    };
    for (const Case& c :
         std::vector<Case>{{"a typed path", names::Com1, "Other", false},
                           {"Default", names::Com1, "Default", false},
                           {"a device server that refuses", names::Com1, "Other", true}}) {
        SCOPED_TRACE(c.what);
        rightClick(names::Com1, "usb-Prolific_B");
        ASSERT_EQ(tk.port.device(), "/dev/serial/by-id/usb-Prolific_B");
        tk.box.warnings.clear();
        tk.port.calls.clear();
        tk.prompt.typed = {c.slow ? "tcp://10.0.0.9:4001" : "/dev/ttyUSB7"};
        tk.port.missingDevices = {"/dev/ttyUSB7", "/dev/ttyS0"};
        tk.port.slowOpens = c.slow;
        if (!c.slow) tk.devices.devices.clear();  // Default is the built-in port now: gone too

        rightClick(c.option, c.pick);
        if (c.slow) tk.port.failOpen(toolkit::Fault::Kind::Refused);
        tk.port.slowOpens = false;
        if (c.slow) tk.port.finishOpen();

        EXPECT_EQ(tk.box.warnings.size(), 1u);
        EXPECT_TRUE(tk.port.portOpen());
        EXPECT_EQ(tk.port.commPort(), 1);
        EXPECT_EQ(tk.port.device(), "/dev/serial/by-id/usb-Prolific_B");
        EXPECT_TRUE(tk.option(names::Com1).value());
        EXPECT_EQ(kept(1), "/dev/serial/by-id/usb-Prolific_B");
        EXPECT_EQ(form.devices().deviceFor(1).path, "/dev/serial/by-id/usb-Prolific_B");
        sent();
        button(names::PowerOn).click();
        EXPECT_EQ(sent(), std::vector<std::string>{"C00"});
        tk.devices.devices = {adapter("usb-FTDI_A", "/dev/ttyUSB0"),
                              adapter("usb-Prolific_B", "/dev/ttyUSB1")};
    }
}

TEST_F(Devices, AChoiceThatCannotBeKeptHoldsForThisRunWithOneWarning) {
    tk.stored.writable = false;
    rightClick(names::Com1, "usb-Prolific_B");
    EXPECT_EQ(tk.port.device(), "/dev/serial/by-id/usb-Prolific_B");
    ASSERT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_NE(tk.box.warnings[0].find("could not be kept"), std::string::npos);
    EXPECT_EQ(form.devices().deviceFor(1).path, "/dev/serial/by-id/usb-Prolific_B");
    // "Default" that cannot be stored says so too, and holds for this run.
    rightClick(names::Com1, "Default");
    ASSERT_EQ(tk.box.warnings.size(), 2u);
    EXPECT_NE(tk.box.warnings[1].find("could not be kept"), std::string::npos);
    EXPECT_EQ(form.devices().deviceFor(1).path, "/dev/serial/by-id/usb-FTDI_A");
}

// A port left closed by a failed switch stays closed when a device chosen
// for it fails too, and the frame shows the port the number went back to.
TEST_F(Devices, AFailedChoiceOnAClosedPortLeavesItClosedAndShowsItsNumber) {
    tk.port.missingDevices = {"/dev/serial/by-id/usb-Prolific_B"};
    tk.option(names::Com2).click();  // COM2's adapter is not there
    ASSERT_FALSE(tk.port.portOpen());
    ASSERT_EQ(tk.port.commPort(), 1);
    tk.box.warnings.clear();
    tk.prompt.typed = {"/dev/ttyUSB7"};
    tk.port.missingDevices = {"/dev/serial/by-id/usb-Prolific_B", "/dev/ttyUSB7"};
    rightClick(names::Com2, "Other");
    EXPECT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_FALSE(tk.port.portOpen());
    EXPECT_EQ(tk.port.commPort(), 1);
    EXPECT_TRUE(tk.option(names::Com1).value());
}

TEST_F(Devices, ALostDeviceWarnsOnceAndIsReopenedWhenBack) {
    for (int loss = 1; loss <= 100; ++loss) {
        SCOPED_TRACE(loss);
        button(names::VolumeUp).press();
        tk.port.writes.clear();
        tk.port.unplug();
        ASSERT_EQ(tk.box.warnings.size(), static_cast<std::size_t>(loss));
        const std::string& box = tk.box.warnings.back();
        EXPECT_NE(box.find("/dev/serial/by-id/usb-FTDI_A (COM1) was lost"), std::string::npos);
        EXPECT_EQ(box.find("connects again"), box.rfind("connects again")) << box;
        EXPECT_FALSE(timer(names::RepeatTimer).enabled());  // the hold has ended
        advance(5000);
        EXPECT_FALSE(tk.port.portOpen());
        tk.port.plugIn();
        advance(1000);
        EXPECT_TRUE(tk.port.portOpen());
        EXPECT_TRUE(tk.port.writes.empty());  // the reopening sends nothing
    }
}

TEST_F(Devices, NothingIsReopenedBehindTheOperatorsBack) {
    tk.port.missingPorts = {2};
    tk.option(names::Com2).click();  // a failed switch leaves the port closed
    tk.port.unplug();                // and a port already closed is not lost
    tk.port.plugIn();
    tk.port.calls.clear();
    advance(10'000);
    EXPECT_TRUE(tk.port.calls.empty());

    tk.option(names::Com1).click();
    tk.port.unplug();
    tk.option(names::Com2).click();  // the operator chose while it was lost
    tk.port.plugIn();
    tk.port.calls.clear();
    advance(10'000);
    EXPECT_TRUE(tk.port.calls.empty());
}

// A device server away: one attempt at a time, at most one a second, never a
// second box; the loss's box goes once the server is back.
TEST_F(Devices, ALostDeviceServerIsTriedOnceASecondAndItsBoxGoesWhenBack) {
    tk.port.slowOpens = true;
    tk.port.unplug();
    tk.port.plugIn();
    ASSERT_EQ(tk.box.warnings.size(), 1u);
    tk.port.calls.clear();
    advance(1000);
    EXPECT_EQ(tk.port.calls, std::vector<std::string>{"open"});
    advance(5000);  // the attempt is still under way: no other
    EXPECT_EQ(tk.port.calls, std::vector<std::string>{"open"});
    tk.port.failOpen(toolkit::Fault::Kind::TimedOut);
    advance(999);
    EXPECT_EQ(tk.port.calls.size(), 1u);
    advance(1);
    EXPECT_EQ(tk.port.calls.size(), 2u);
    EXPECT_TRUE(tk.box.withdrawn.empty());
    tk.port.finishOpen();
    EXPECT_TRUE(tk.port.portOpen());
    EXPECT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_EQ(tk.box.withdrawn, tk.box.warnings);
    advance(10'000);
    EXPECT_EQ(tk.port.calls.size(), 2u);
    EXPECT_TRUE(tk.port.writes.empty());
}

// A switch after a loss ends the loss: the next unplug is news again.
TEST_F(Devices, ASwitchAfterALossLeavesNothingOfIt) {
    tk.port.unplug();
    tk.port.plugIn();  // the fake's devices come and go together
    tk.option(names::Com2).click();
    ASSERT_TRUE(tk.port.portOpen());
    tk.port.unplug();
    EXPECT_EQ(tk.box.warnings.size(), 2u);
    tk.port.plugIn();
    advance(1000);
    EXPECT_TRUE(tk.port.portOpen());
}

// A device named by its kernel node is the device the system lists under its
// stable path: listed once, ticked, and named in the tooltip without a
// dangling comma when it has no description.
TEST(DeviceMenu, ADeviceByItsKernelNodeIsListedOnce) {
    fake::Toolkit tk;
    tk.devices.devices = {{"/dev/serial/by-id/usb-A", "/dev/ttyUSB0", "", "", "", true}};
    panel::Form1 form(tk, {{1, "/dev/ttyUSB0"}});
    form.Form_Load();
    tk.button(names::Com).click();
    tk.option(names::Com1).rightClick();
    ASSERT_EQ(tk.menu.shown.size(), 3u);
    EXPECT_EQ(tk.menu.shown[0].text, "ttyUSB0 (/dev/serial/by-id/usb-A)");
    EXPECT_TRUE(tk.menu.shown[0].checked);
    EXPECT_EQ(tk.option(names::Com1).toolTip(), "COM1: /dev/ttyUSB0");
}

// While a device server is away, a press says the panel is looking for it,
// and following the advice to choose a port there, which fails while it is
// still away, leaves the looking on, for the chosen port.
TEST_F(Devices, AChoiceThatFailsWhileTheDeviceIsLostKeepsLookingForIt) {
    tk.port.slowOpens = true;
    tk.port.unplug();
    button(names::StatusQuery).click();
    ASSERT_EQ(tk.box.warnings.size(), 2u);
    EXPECT_NE(tk.box.warnings[1].find("Nothing was sent: the serial device"), std::string::npos);
    EXPECT_NE(tk.box.warnings[1].find("is lost. The panel connects again by itself"),
              std::string::npos)
        << tk.box.warnings[1];

    button(names::Com).click();
    tk.option(names::Com1).click();
    tk.port.failOpen(toolkit::Fault::Kind::Refused);
    ASSERT_EQ(tk.box.warnings.size(), 3u);
    EXPECT_NE(tk.box.warnings[2].find("The panel connects again by itself"), std::string::npos)
        << tk.box.warnings[2];
    EXPECT_EQ(tk.port.commPort(), 1);

    tk.port.plugIn();
    advance(1000);
    tk.port.finishOpen();
    EXPECT_TRUE(tk.port.portOpen());
    EXPECT_EQ(tk.port.commPort(), 1);
    EXPECT_EQ(tk.box.withdrawn, std::vector<std::string>{tk.box.warnings[2]});
    EXPECT_TRUE(tk.port.writes.empty());
}

// A device the system does not list heads the menu as what COM1 stands for
// now; every other item still picks its own device.
TEST(DeviceMenu, APickWhileTheCurrentDeviceIsUnlistedIsThePickedDevice) {
    fake::Toolkit tk;
    tk.devices.devices = {adapter("usb-FTDI_A", "/dev/ttyUSB0"),
                          adapter("usb-Prolific_B", "/dev/ttyUSB1")};
    tk.stored.values["devices/COM1"] = "/tmp/projector";
    panel::Form1 form(tk);
    form.Form_Load();
    tk.menu.answer = [](const std::vector<toolkit::MenuItem>& items) {
        EXPECT_EQ(items[0].text, "/tmp/projector");
        return std::optional<std::size_t>(2);
    };
    tk.option(names::Com1).rightClick();
    EXPECT_EQ(tk.stored.values["devices/COM1"], "/dev/serial/by-id/usb-Prolific_B");
    EXPECT_EQ(tk.port.device(), "/dev/serial/by-id/usb-Prolific_B");
}

// A write that finds the device gone: the loss is the news, in one box; the
// line is not traced as sent, and the port's own event of it adds nothing.
TEST_F(Devices, AWriteThatFindsTheDeviceGoneGivesOneBoxAndTracesNothing) {
    tk.port.goneAtNextWrite = true;
    button(names::PowerOn).click();
    ASSERT_EQ(tk.box.warnings.size(), 1u);
    EXPECT_NE(tk.box.warnings[0].find("was lost"), std::string::npos) << tk.box.warnings[0];
    EXPECT_EQ(caption(names::SentTrace), "");
    EXPECT_TRUE(linesSent.sent.empty());
    tk.port.raise(toolkit::CommEvent::Lost, tk.port.faultOf(toolkit::Fault::Kind::Lost));
    EXPECT_EQ(tk.box.warnings.size(), 1u);
}
