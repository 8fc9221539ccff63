// The whole serial path against the projector simulator: widgets,
// QSerialPort, a real terminal device and a projector that answers.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <algorithm>

#include "tests/e2e/PanelWindow.h"
#include "tests/e2e/PtyPeer.h"
#include "tests/e2e/SimulatorProcess.h"

namespace {

// Waits for the last exchange to end, as an operator does between
// commands: until then its reply stays in front of the next one.
bool exchangeEnded(PanelWindow& panel) {
    return waitFor([&] { return !panel.form.timer("Timer2").enabled(); });
}

// Clicks a button and waits until the decoded line reads as expected.
::testing::AssertionResult decodes(PanelWindow& panel, const char* button,
                                   const QString& expected) {
    if (!exchangeEnded(panel))
        return ::testing::AssertionFailure() << "the last exchange never ended";
    panel.click(button);
    if (waitFor([&] { return panel.text("Label22") == expected; }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << button << " shows \"" << panel.text("Label22").toStdString() << "\", not \""
           << expected.toStdString() << "\"";
}

::testing::AssertionResult typedDecodes(PanelWindow& panel, const char* typed,
                                        const QString& expected) {
    static_cast<QLineEdit*>(panel.widget("Text1"))->setText(typed);
    return decodes(panel, "Command95", expected);
}

std::size_t count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

}  // namespace

TEST(WithSimulator, PowerStatusAndEveryQuery) {
    SimulatorProcess simulator({"--warm-up", "2000"});
    PanelWindow panel(simulator.devicePath());

    EXPECT_TRUE(decodes(panel, "Command44", " Stand by"));
    ASSERT_TRUE(exchangeEnded(panel));
    panel.click("Command17");
    ASSERT_TRUE(waitFor([&] { return panel.text("Label12") == " ACK "; }));
    EXPECT_TRUE(decodes(panel, "Command44", " Count down"));
    // Asks again until the warm-up is over.
    ASSERT_TRUE(waitFor([&] {
        if (!exchangeEnded(panel)) return false;
        panel.click("Command44");
        waitFor([&] { return panel.text("Label12").endsWith("CR "); });
        return panel.text("Label22") == " Power ON";
    }));

    EXPECT_TRUE(decodes(panel, "Command46", " 0 1 2 3 4 CR  Hour Use"));
    panel.click("Command54");
    ASSERT_TRUE(waitFor([&] { return panel.text("Label22").startsWith("  S1= 0 "); }));
    EXPECT_TRUE(panel.text("Label22").endsWith(" C")) << panel.text("Label22").toStdString();
    ASSERT_TRUE(exchangeEnded(panel));
    EXPECT_TRUE(decodes(panel, "Command45", " Computer 1"));
    EXPECT_TRUE(decodes(panel, "Command47", " Normally"));
    EXPECT_TRUE(decodes(panel, "Command52", " No1 ON  : 2 Lamp mode"));
    EXPECT_TRUE(typedDecodes(panel, "CRA", " Video & Audio mute OFF"));
    EXPECT_TRUE(typedDecodes(panel, "CR9", " K R 6 0 P   V e r 1 . 4 0 CR "));
    static_cast<QLineEdit*>(panel.widget("Text1"))->setText("CR PRESSURE");
    ASSERT_TRUE(exchangeEnded(panel));
    panel.click("Command95");
    ASSERT_TRUE(waitFor([&] { return panel.text("Label22").endsWith(" hPa"); }));
    EXPECT_NEAR(panel.text("Label22").split(' ')[0].toInt(), 1013, 20);
    EXPECT_TRUE(panel.warnings.empty());
}

TEST(WithSimulator, RepliesInChunksAreDecoded) {
    SimulatorProcess simulator({"--chunk", "1", "--chunk-gap", "30"});
    PanelWindow panel(simulator.devicePath());
    EXPECT_TRUE(decodes(panel, "Command44", " Stand by"));
    EXPECT_TRUE(waitFor([&] { return panel.text("Label12") == " 8 0 CR "; }));
}

TEST(WithSimulator, ASilentProjectorIsMarked) {
    SimulatorProcess simulator({"--silent"});
    PanelWindow panel(simulator.devicePath());
    panel.click("Command44");
    EXPECT_TRUE(waitFor([&] { return panel.text("Label12") == " X X X X"; }));
    EXPECT_EQ(panel.text("Label22"), "");
}

TEST(WithSimulator, HoldingVolumeUpRepeatsOnTheWireUntilReleased) {
    SimulatorProcess simulator;
    PanelWindow panel(simulator.devicePath());
    QTest::mousePress(panel.button("Command1"), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return count(simulator.commands(), "C09<CR>") >= 4; }));
    QTest::mouseRelease(panel.button("Command1"), Qt::LeftButton);
    // After the release, a marker: every C09 the simulator logs must come
    // before it.
    static_cast<QLineEdit*>(panel.widget("Text1"))->setText("MARK");
    ASSERT_TRUE(waitFor([&] { return !panel.form.timer("Timer4").enabled(); }));
    panel.click("Command95");
    ASSERT_TRUE(waitFor([&] { return count(simulator.commands(), "MARK<CR>") == 1; }));
    const auto commands = simulator.commands();
    const auto mark = std::find(commands.begin(), commands.end(), "MARK<CR>");
    EXPECT_EQ(std::count(mark, commands.end(), "C09<CR>"), 0);
    EXPECT_GE(count(commands, "C09<CR>"), 4u);
}

TEST(WithSimulator, AHangUpThenAClickGivesOneWarningAndThePanelGoesOn) {
    SimulatorProcess simulator({"--hang-up-after", "1"});
    PanelWindow panel(simulator.devicePath());
    panel.click("Command44");
    ASSERT_TRUE(waitFor([&] { return !simulator.running(); }));
    ASSERT_TRUE(waitFor([&] { return !panel.tk.serialPort().portOpen(); }));
    panel.click("Command17");
    ASSERT_TRUE(waitFor([&] { return panel.warnings.size() == 1; }));
    panel.click("Command18");
    ASSERT_TRUE(waitFor([&] { return panel.warnings.size() == 2; }));
    EXPECT_FALSE(panel.form.ended());
    EXPECT_NE(panel.text("Label11"), " C 0 0 CR ");
    EXPECT_NE(panel.text("Label11"), " C 0 1 CR ");
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
