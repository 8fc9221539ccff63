// The real window (offscreen) and the real QSerialPort on a pseudo-terminal.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>

#include "PanelWindow.h"
#include "tests/support/PtyPeer.h"
#include "vocabulary/Sentences.h"

namespace {

class EndToEnd : public ::testing::Test {
  protected:
    QWidget* widget(const char* name) { return panel.widget(name); }
    QString text(const char* label) { return panel.text(label); }

    // Reads from the peer until it has seen the bytes, or the deadline passes.
    bool peerReceives(const std::string& bytes) { return waitUntilReceived(peer, received, bytes); }

    PtyPeer peer;
    PanelWindow panel{peer.devicePath()};
    panel::Form1* form = &panel.form;
    std::vector<std::string>& warnings = panel.warnings;
    std::string received;
};

TEST_F(EndToEnd, ALineGoesOutByteForByteAndIsTraced) {
    panel.click(names::PowerOn);
    ASSERT_TRUE(peerReceives("C00\r"));
    EXPECT_EQ(received, "C00\r");
    EXPECT_EQ(text(names::SentTrace), " C 0 0 CR ");
}

TEST_F(EndToEnd, ARepliedStatusIsTracedAndDecoded) {
    QTest::mouseClick(static_cast<QPushButton*>(widget(names::StatusQuery)), Qt::LeftButton);
    ASSERT_TRUE(peerReceives("CR0\r"));
    peer.write("0");
    ASSERT_TRUE(waitFor([&] { return text(names::ReceivedTrace) == " 0 "; }));
    peer.write("0\r");
    ASSERT_TRUE(waitFor([&] { return text(names::StatusText) == " Power ON"; }));
    EXPECT_EQ(text(names::ReceivedTrace), " 0 0 CR ");
}

TEST_F(EndToEnd, ReceivedBytesShowAsPlainText) {
    peer.write("<b>x</b>&amp;");
    ASSERT_TRUE(waitFor([&] { return !text(names::ReceivedTrace).isEmpty(); }));
    EXPECT_EQ(static_cast<QLabel*>(widget(names::ReceivedTrace))->textFormat(), Qt::PlainText);
    ASSERT_TRUE(waitFor([&] { return text(names::ReceivedTrace).size() == 27; }));
    EXPECT_EQ(text(names::ReceivedTrace), " < b > x < / b > & a m p ; ");
}

TEST_F(EndToEnd, HoldingVolumeUpRepeatsUntilReleasedWithAnyMouseButton) {
    for (const Qt::MouseButton mouse : {Qt::LeftButton, Qt::RightButton}) {
        SCOPED_TRACE(mouse);
        received.clear();
        auto* volumeUp = static_cast<QPushButton*>(widget(names::VolumeUp));
        QTest::mousePress(volumeUp, mouse);
        ASSERT_TRUE(peerReceives("C09\rC09\rC09\r"));
        // The release goes to the pressed button even off it.
        QTest::mouseRelease(volumeUp, mouse, {}, QPoint(-50, -50));
        const std::size_t atRelease = received.size();
        EXPECT_FALSE(panel.timerRunning(names::RepeatTimer));
        // The trace-clear delay ends 1000 ms after the release, four repeat
        // intervals later.
        ASSERT_TRUE(waitFor([&] {
            received += peer.readAvailable();
            return !panel.timerRunning(names::TraceClear);
        }));
        received += peer.readAvailable();
        EXPECT_EQ(received.size(), atRelease);
    }
}

TEST_F(EndToEnd, CtrlJReachesTheTextBoxAndExpandsTheWindow) {
    auto* text1 = static_cast<QLineEdit*>(widget(names::CommandText));
    form->window().setHeight(panel::kHeightFull);
    text1->setFocus();
    int keyPresses = 0;
    struct Counter : QObject {
        int* count;
        explicit Counter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_J) {
                ++*count;
            }
            return false;
        }
    } counter(&keyPresses);
    text1->installEventFilter(&counter);

    QTest::keyClick(text1, Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(keyPresses, 1);
    EXPECT_EQ(form->window().height(), panel::kHeightExpanded);
    EXPECT_EQ(static_cast<QPushButton*>(widget(names::DataToggle))->text(), "CLOSE");

    QTest::keyClicks(text1, "cr0");
    EXPECT_EQ(text1->text(), "cr0");
    QTest::mouseClick(static_cast<QPushButton*>(widget(names::Send)), Qt::LeftButton);
    ASSERT_TRUE(peerReceives("cr0\r"));
    text1->removeEventFilter(&counter);
}

TEST_F(EndToEnd, EachHeightShowsItsPartOfThePanel) {
    struct Case {
        int height;
        const char* lowestInside;
        const char* firstOutside;
    };
    for (const Case& c : {Case{5350, names::PictureDynamic, names::TraceGroup},
                          Case{6645, names::TraceGroup, names::SignalTypeGroup},
                          Case{7200, names::LampModeQuery, names::EntryGroup},
                          Case{9100, names::EntryGroup, nullptr}}) {
        SCOPED_TRACE(c.height);
        form->window().setHeight(c.height);
        QApplication::processEvents();
        const int clientHeight = panel.window()->height();
        const QWidget* inside = widget(c.lowestInside);
        EXPECT_LE(inside->mapTo(panel.window(), QPoint(0, inside->height())).y(), clientHeight);
        if (c.firstOutside) {
            const QWidget* outside = widget(c.firstOutside);
            EXPECT_GE(outside->mapTo(panel.window(), QPoint(0, 0)).y(), clientHeight);
        }
    }
}

TEST_F(EndToEnd, AHangUpWarnsAtOnceAndAClickThenSaysNothingWasSent) {
    peer.hangUp();
    ASSERT_TRUE(waitFor([&] { return warnings.size() == 1; }));  // no click needed
    EXPECT_NE(warnings[0].find(peer.devicePath() + " (COM1) was lost"), std::string::npos)
        << warnings[0];
    EXPECT_FALSE(panel.tk.serialPort().portOpen());
    QTest::mouseClick(static_cast<QPushButton*>(widget(names::PowerOn)), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return warnings.size() == 2; }));
    EXPECT_NE(warnings[1].find("Nothing was sent"), std::string::npos) << warnings[1];
    EXPECT_EQ(text(names::SentTrace), "");
    EXPECT_TRUE(panel.window()->isVisible());
}

TEST_F(EndToEnd, AMissingDeviceIsNamedInTheWarning) {
    QTest::mouseClick(static_cast<QPushButton*>(widget(names::Com)), Qt::LeftButton);
    static_cast<QAbstractButton*>(widget(names::Com2))->click();
    ASSERT_TRUE(waitFor([&] { return warnings.size() == 1; }));
    EXPECT_EQ(warnings[0], "There is no serial device /dev/no-such-serial-device (COM2).");
    EXPECT_EQ(panel.tk.serialPort().commPort(), 1);
    EXPECT_TRUE(widget(names::PortSettings)->isVisible());
    // Back to COM1: the link works again.
    static_cast<QAbstractButton*>(widget(names::Com1))->click();
    EXPECT_TRUE(panel.tk.serialPort().portOpen());
    panel.click(names::PowerOn);
    EXPECT_TRUE(peerReceives("C00\r"));
}

TEST(SerialPortOnQt, StartUpFailuresAreDescribedInPlainWords) {
    toolkit::qt::QtSerialPort missing;
    missing.setDevice(1, "/dev/no-such-serial-device");
    try {
        missing.setPortOpen(true);
        FAIL() << "opened a missing device";
    } catch (const toolkit::SerialError& error) {
        EXPECT_EQ(projector::faultText(error.fault()),
                  "There is no serial device /dev/no-such-serial-device (COM1).");
    }

    PtyPeer peer;
    toolkit::qt::QtSerialPort first;
    first.setDevice(1, peer.devicePath());
    toolkit::qt::QtSerialPort second;
    second.setDevice(1, peer.devicePath());
    first.setPortOpen(true);
    try {
        second.setPortOpen(true);
        FAIL() << "opened a device in use";
    } catch (const toolkit::SerialError& error) {
        EXPECT_EQ(error.fault().kind, toolkit::Fault::Kind::InUse);
    }
}

TEST(SerialPortOnQt, SettingsApplyOpenOrClosedAndBadTextChangesNothing) {
    PtyPeer peer;
    toolkit::qt::QtSerialPort port;
    port.setDevice(1, peer.devicePath());
    port.setSettings("19200,N,8,1");
    port.setPortOpen(true);
    port.setSettings("9600,N,8,1");
    EXPECT_EQ(port.settings(), "9600,N,8,1");
    EXPECT_THROW(port.setSettings("fast"), toolkit::SerialError);
    EXPECT_EQ(port.settings(), "9600,N,8,1");
    EXPECT_TRUE(port.portOpen());
}

}  // namespace
