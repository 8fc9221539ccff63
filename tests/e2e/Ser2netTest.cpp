// Interoperability with ser2net, the device server technicians run, in
// front of a pseudo-terminal, in both its modes: commands and replies, the
// line's speed as the terminal has it, a byte 0xFF each way, and the server
// stopped and started.

#include <gtest/gtest.h>
#include <termios.h>

#include <QLineEdit>
#include <QRadioButton>

#include "BusyServer.h"
#include "PanelWindow.h"
#include "tests/support/NetworkPeers.h"
#include "tests/support/PtyPeer.h"

namespace {

long speedOf(const PtyPeer& peer) {
    termios line{};
    ::tcgetattr(peer.masterFd(), &line);
    switch (::cfgetospeed(&line)) {
        case B4800:
            return 4800;
        case B9600:
            return 9600;
        case B19200:
            return 19200;
        default:
            return -1;
    }
}

class WithSer2net : public ::testing::TestWithParam<Ser2net::Mode> {
  protected:
    void SetUp() override {
        if (!Ser2net::installed()) GTEST_SKIP() << "ser2net is not installed";
    }
};

}  // namespace

TEST_P(WithSer2net, CommandsRepliesSpeedAndByteFFEachWay) {
    const bool rfc2217 = GetParam() == Ser2net::Mode::Rfc2217;
    PtyPeer projector;
    Ser2net server(GetParam(), projector.devicePath(), "4800n81");
    ASSERT_TRUE(server.start());
    PanelWindow panel(server.address());
    std::string received;

    panel.click(names::StatusQuery);
    ASSERT_TRUE(waitUntilReceived(projector, received, "CR0\r"));
    EXPECT_EQ(received, "CR0\r");
    projector.write("80\r");
    EXPECT_TRUE(waitFor([&] { return panel.text(names::StatusText) == " Stand by"; }));

    // Only RFC 2217 carries the speed: 19200 from the start, then 9600.
    EXPECT_TRUE(waitFor([&] { return speedOf(projector) == (rfc2217 ? 19200 : 4800); }))
        << speedOf(projector);
    panel.click(names::Com);
    panel.find<QRadioButton>(names::Speed9600)->click();
    EXPECT_TRUE(waitFor([&] { return speedOf(projector) == (rfc2217 ? 9600 : 4800); }))
        << speedOf(projector);

    // The reply stays in front of the next one until its exchange has ended.
    ASSERT_TRUE(waitFor([&] { return !panel.timerRunning(names::ReplyTimeout); }));
    received.clear();
    static_cast<QLineEdit*>(panel.widget(names::CommandText))->setText(QString(QChar(0xFF)));
    panel.click(names::Send);
    ASSERT_TRUE(waitUntilReceived(projector, received, "\r"));
    EXPECT_EQ(received, "\xff\r");
    projector.write("\xff");
    EXPECT_TRUE(waitFor([&] { return panel.text(names::ReceivedTrace) == " ? "; }))
        << panel.text(names::ReceivedTrace).toStdString();
    EXPECT_TRUE(panel.warnings.empty()) << panel.warnings.front();
}

TEST_P(WithSer2net, StoppedAndStartedGivesOneBoxAndAReconnect) {
    PtyPeer projector;
    Ser2net server(GetParam(), projector.devicePath(), "19200n81");
    ASSERT_TRUE(server.start());
    PanelWindow panel(server.address());
    server.stop();
    ASSERT_TRUE(waitFor([&] { return panel.warnings.size() == 1; }));
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(waitFor([&] { return panel.tk.serialPort().portOpen(); }));
    std::string received;
    panel.click(names::PowerOn);
    EXPECT_TRUE(waitUntilReceived(projector, received, "C00\r"));
    EXPECT_EQ(panel.warnings.size(), 1u);
}

// Busy with another client, ser2net says so (after its negotiation, in telnet
// mode) and closes: the panel quotes it, and shows none of it as data.
TEST_P(WithSer2net, ASecondClientIsToldTheServerIsBusy) {
    PtyPeer projector;
    Ser2net server(GetParam(), projector.devicePath(), "19200n81");
    ASSERT_TRUE(server.start());
    EXPECT_TRUE(switchingToItSaysBusy(server.address()));
}

INSTANTIATE_TEST_SUITE_P(BothModes, WithSer2net,
                         ::testing::Values(Ser2net::Mode::Raw, Ser2net::Mode::Rfc2217),
                         [](const auto& info) {
                             return info.param == Ser2net::Mode::Raw ? "Raw" : "Rfc2217";
                         });
