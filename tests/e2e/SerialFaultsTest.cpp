// Faults of the serial line on the real window and the real QSerialPort:
// nothing lost, nothing frozen, nothing sent that was not asked for.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QLineEdit>
#include <ctime>

#include "PanelWindow.h"
#include "tests/support/PtyPeer.h"
#include "vocabulary/Trace.h"

namespace {

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs the event loop, blocking between events, for the given time.
void idle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class SerialFaults : public ::testing::Test {
  protected:
    bool peerReceives(PtyPeer& from, const std::string& bytes) {
        return waitUntilReceived(from, received, bytes);
    }

    PtyPeer peer;
    PtyPeer spare;  // COM2
    PanelWindow panel{peer.devicePath(), spare.devicePath()};
    std::string received;
};

}  // namespace

TEST_F(SerialFaults, AHangUpMidRunWarnsOnceDoesNotSpinAndAPortChoiceRecovers) {
    panel.click(names::StatusQuery);
    ASSERT_TRUE(peerReceives(peer, "CR0\r"));
    peer.hangUp();
    ASSERT_TRUE(waitFor([&] { return panel.warnings.size() == 1; }));
    EXPECT_FALSE(panel.tk.serialPort().portOpen());

    const double before = processCpuSeconds();
    idle(2000);
    EXPECT_LT(processCpuSeconds() - before, 0.2) << "busy while the device is gone";
    EXPECT_EQ(panel.warnings.size(), 1u);

    panel.click(names::PowerOn);
    ASSERT_TRUE(waitFor([&] { return panel.warnings.size() == 2; }));
    EXPECT_NE(panel.text(names::SentTrace), " C 0 0 CR ");

    panel.click(names::Com);
    static_cast<QAbstractButton*>(panel.widget(names::Com2))->click();
    EXPECT_TRUE(panel.tk.serialPort().portOpen());
    EXPECT_EQ(panel.warnings.size(), 2u);
    received.clear();
    panel.click(names::PowerOn);
    EXPECT_TRUE(peerReceives(spare, "C00\r"));
    EXPECT_EQ(received, "C00\r");
}

TEST_F(SerialFaults, AFloodIsBoundedAndThePanelStaysResponsive) {
    const std::string mebibyte(1 << 20, 'A');
    peer.write(mebibyte);
    // The receive buffer stops at 32767 characters; the trace shows them all.
    ASSERT_TRUE(waitFor([&] { return panel.text(names::ReceivedTrace).size() == 1 + 2 * 32767; }));
    panel.click(names::PowerOn);
    EXPECT_TRUE(peerReceives(peer, "C00\r"));
    EXPECT_TRUE(panel.warnings.empty());
}

TEST_F(SerialFaults, EveryByteValueIsTraced) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    peer.write(all);
    const QString expected = QString::fromStdString(projector::traceOf(all));
    EXPECT_TRUE(waitFor([&] { return panel.text(names::ReceivedTrace) == expected; }))
        << panel.text(names::ReceivedTrace).toStdString();
}

TEST_F(SerialFaults, AReplyAfterTheTimeOutIsDecodedOnItsOwn) {
    panel.click(names::StatusQuery);
    ASSERT_TRUE(waitFor([&] { return panel.text(names::ReceivedTrace) == " X X X X"; }));
    peer.write("00\r");
    EXPECT_TRUE(waitFor([&] { return panel.text(names::StatusText) == " Power ON"; }));
}

TEST_F(SerialFaults, AHundredThousandCharacterCommandIsSentWhole) {
    std::string typed(100'000, 'x');
    for (std::size_t i = 0; i < typed.size(); i += 1000) typed[i] = 'Y';
    static_cast<QLineEdit*>(panel.widget(names::CommandText))
        ->setText(QString::fromStdString(typed));
    panel.click(names::Send);
    ASSERT_TRUE(peerReceives(peer, "\r"));
    EXPECT_EQ(received, typed + "\r");
}

TEST_F(SerialFaults, BurstsOfPressesAndReleasesLeaveNoRepetition) {
    QPushButton* volumeUp = panel.button(names::VolumeUp);
    for (int i = 0; i < 100; ++i) {
        QTest::mousePress(volumeUp, i % 2 ? Qt::RightButton : Qt::LeftButton);
        QTest::mouseRelease(volumeUp, i % 2 ? Qt::RightButton : Qt::LeftButton);
    }
    EXPECT_FALSE(panel.timerRunning(names::RepeatTimer));
    ASSERT_TRUE(waitFor([&] {
        received += peer.readAvailable();
        return !panel.timerRunning(names::TraceClear);
    }));
    received += peer.readAvailable();
    std::string hundred;
    for (int i = 0; i < 100; ++i) hundred += "C09\r";
    EXPECT_EQ(received, hundred);
}
