// The whole serial path against the projector simulator: widgets,
// QSerialPort, a real terminal device and a projector that answers.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <algorithm>

#include "PanelWindow.h"
#include "SimulatorProcess.h"
#include "tests/support/PtyPeer.h"

namespace {

// Waits for the last exchange to end, as an operator does between
// commands: until then its reply stays in front of the next one.
bool exchangeEnded(PanelWindow& panel) {
    return waitFor([&] { return !panel.timerRunning(names::ReplyTimeout); });
}

// Clicks a button and waits until the decoded line reads as expected.
::testing::AssertionResult decodes(PanelWindow& panel, const char* button,
                                   const QString& expected) {
    if (!exchangeEnded(panel))
        return ::testing::AssertionFailure() << "the last exchange never ended";
    panel.click(button);
    if (waitFor([&] { return panel.text(names::StatusText) == expected; }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << button << " shows \"" << panel.text(names::StatusText).toStdString() << "\", not \""
           << expected.toStdString() << "\"";
}

::testing::AssertionResult typedDecodes(PanelWindow& panel, const char* typed,
                                        const QString& expected) {
    static_cast<QLineEdit*>(panel.widget(names::CommandText))->setText(typed);
    return decodes(panel, names::Send, expected);
}

std::size_t count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

}  // namespace

TEST(WithSimulator, PowerStatusAndEveryQuery) {
    SimulatorProcess simulator({"--warm-up", "2000"});
    PanelWindow panel(simulator.devicePath());

    EXPECT_TRUE(decodes(panel, names::StatusQuery, " Stand by"));
    ASSERT_TRUE(exchangeEnded(panel));
    panel.click(names::PowerOn);
    ASSERT_TRUE(waitFor([&] { return panel.text(names::ReceivedTrace) == " ACK "; }));
    EXPECT_TRUE(decodes(panel, names::StatusQuery, " Count down"));
    // Asks again until the warm-up is over.
    ASSERT_TRUE(waitFor([&] {
        if (!exchangeEnded(panel)) return false;
        panel.click(names::StatusQuery);
        waitFor([&] { return panel.text(names::ReceivedTrace).endsWith("CR "); });
        return panel.text(names::StatusText) == " Power ON";
    }));

    EXPECT_TRUE(decodes(panel, names::LampTimeQuery, " 0 1 2 3 4 CR  Hour Use"));
    panel.click(names::TemperatureQuery);
    ASSERT_TRUE(waitFor([&] { return panel.text(names::StatusText).startsWith("  S1= 0 "); }));
    EXPECT_TRUE(panel.text(names::StatusText).endsWith(" C"))
        << panel.text(names::StatusText).toStdString();
    ASSERT_TRUE(exchangeEnded(panel));
    EXPECT_TRUE(decodes(panel, names::InputQuery, " Computer 1"));
    EXPECT_TRUE(decodes(panel, names::ReversalQuery, " Normally"));
    EXPECT_TRUE(decodes(panel, names::LampModeQuery, " No1 ON  : 2 Lamp mode"));
    EXPECT_TRUE(typedDecodes(panel, "CRA", " Video & Audio mute OFF"));
    EXPECT_TRUE(typedDecodes(panel, "CR9", " K R 6 0 P   V e r 1 . 4 0 CR "));
    static_cast<QLineEdit*>(panel.widget(names::CommandText))->setText("CR PRESSURE");
    ASSERT_TRUE(exchangeEnded(panel));
    panel.click(names::Send);
    ASSERT_TRUE(waitFor([&] { return panel.text(names::StatusText).endsWith(" hPa"); }));
    EXPECT_NEAR(panel.text(names::StatusText).split(' ')[0].toInt(), 1013, 20);
    EXPECT_TRUE(panel.warnings.empty());
}

TEST(WithSimulator, RepliesInChunksAreDecoded) {
    SimulatorProcess simulator({"--chunk", "1", "--chunk-gap", "30"});
    PanelWindow panel(simulator.devicePath());
    EXPECT_TRUE(decodes(panel, names::StatusQuery, " Stand by"));
    EXPECT_TRUE(waitFor([&] { return panel.text(names::ReceivedTrace) == " 8 0 CR "; }));
}

TEST(WithSimulator, ASilentProjectorIsMarked) {
    SimulatorProcess simulator({"--silent"});
    PanelWindow panel(simulator.devicePath());
    panel.click(names::StatusQuery);
    EXPECT_TRUE(waitFor([&] { return panel.text(names::ReceivedTrace) == " X X X X"; }));
    EXPECT_EQ(panel.text(names::StatusText), "");
}

TEST(WithSimulator, HoldingVolumeUpRepeatsOnTheWireUntilReleased) {
    SimulatorProcess simulator;
    PanelWindow panel(simulator.devicePath());
    QTest::mousePress(panel.button(names::VolumeUp), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return count(simulator.commands(), "C09<CR>") >= 4; }));
    QTest::mouseRelease(panel.button(names::VolumeUp), Qt::LeftButton);
    // After the release, a marker: every C09 the simulator logs must come
    // before it.
    static_cast<QLineEdit*>(panel.widget(names::CommandText))->setText("MARK");
    ASSERT_TRUE(waitFor([&] { return !panel.timerRunning(names::TraceClear); }));
    panel.click(names::Send);
    ASSERT_TRUE(waitFor([&] { return count(simulator.commands(), "MARK<CR>") == 1; }));
    const auto commands = simulator.commands();
    const auto mark = std::find(commands.begin(), commands.end(), "MARK<CR>");
    EXPECT_EQ(std::count(mark, commands.end(), "C09<CR>"), 0);
    EXPECT_GE(count(commands, "C09<CR>"), 4u);
}

TEST(WithSimulator, AHangUpWarnsOnceAndEachLaterClickSaysNothingWasSent) {
    SimulatorProcess simulator({"--hang-up-after", "1"});
    PanelWindow panel(simulator.devicePath());
    panel.click(names::StatusQuery);
    ASSERT_TRUE(waitFor([&] { return !simulator.running(); }));
    ASSERT_TRUE(waitFor([&] { return panel.warnings.size() == 1; }));
    EXPECT_FALSE(panel.tk.serialPort().portOpen());
    panel.click(names::PowerOn);
    ASSERT_TRUE(waitFor([&] { return panel.warnings.size() == 2; }));
    panel.click(names::PowerOff);
    ASSERT_TRUE(waitFor([&] { return panel.warnings.size() == 3; }));
    EXPECT_TRUE(panel.window()->isVisible());
    EXPECT_NE(panel.text(names::SentTrace), " C 0 0 CR ");
    EXPECT_NE(panel.text(names::SentTrace), " C 0 1 CR ");
}

TEST(SimulatorProgram, EndsCleanlyOnTerminationAndWhenItsPeerHasGone) {
    const QString link =
        QDir::temp().filePath(QString("kr60p-sim-test-%1").arg(QCoreApplication::applicationPid()));
    for (const bool peerLeaves : {false, true}) {
        SCOPED_TRACE(peerLeaves);
        QProcess simulator;
        simulator.start(KR60P_SIM, {"--link", link});
        ASSERT_TRUE(waitFor([&] { return QFileInfo(link).isSymLink(); }));
        if (peerLeaves) {
            // Connects, is heard, and goes.
            const int fd = ::open(link.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::write(fd, "CR0\r", 4), 4);
            QByteArray log;
            ASSERT_TRUE(waitFor([&] {
                log += simulator.readAllStandardOutput();
                return log.contains("CR0<CR>");
            }));
            ::close(fd);
        } else {
            simulator.terminate();
        }
        ASSERT_TRUE(waitFor([&] { return simulator.state() == QProcess::NotRunning; }));
        EXPECT_EQ(simulator.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(simulator.exitCode(), 0);
        EXPECT_FALSE(QFileInfo(link).isSymLink());
    }
}
