// What the Qt toolkit itself must get right, on the real window: what
// assistive technology reads, which mouse events count, and typed text.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QCompleter>
#include <QContextMenuEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <map>
#include <set>

#include "PanelWindow.h"
#include "panel/ControlTable.h"
#include "qt/CaptionButton.h"
#include "qt/QtDialogs.h"
#include "tests/support/PtyPeer.h"

namespace {

class OnQt : public ::testing::Test {
  protected:
    // Whether the peer sees these bytes, and nothing more once the hold is
    // over (its trace-clear delay, four repeat intervals, has passed).
    bool peerReceivesOnly(const std::string& bytes) {
        if (!waitUntilReceived(peer, received, bytes)) return false;
        waitFor([&] {
            received += peer.readAvailable();
            return !panel.timerRunning(names::TraceClear);
        });
        received += peer.readAvailable();
        return received == bytes;
    }
    // Ctrl+J as the keyboard gives it: to the control that has the focus.
    void pressCtrlJ() {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : panel.window(), Qt::Key_J, Qt::ControlModifier);
    }
    QPoint centreOf(const char* name) {
        QWidget* widget = panel.widget(name);
        return widget->mapTo(panel.window(), widget->rect().center());
    }

    PtyPeer peer;
    PanelWindow panel{peer.devicePath()};
    std::string received;
};

QString accessible(QWidget* widget, QAccessible::Text what) {
    return QAccessible::queryAccessibleInterface(widget)->text(what);
}

}  // namespace

TEST_F(OnQt, EveryButtonIsNamedByItsCaptionAndButtonsAlikeAreToldApart) {
    std::map<std::string, std::set<QString>> descriptionsByCaption;
    std::map<std::string, int> buttonsByCaption;
    for (const toolkit::ControlSpec& spec : panel::controlTable()) {
        if (spec.kind != toolkit::Kind::Button) continue;
        QPushButton* button = panel.button(std::string(spec.name).c_str());
        const std::string caption(spec.caption);
        EXPECT_EQ(accessible(button, QAccessible::Name).toStdString(), caption) << spec.name;
        descriptionsByCaption[caption].insert(accessible(button, QAccessible::Description));
        ++buttonsByCaption[caption];
    }
    EXPECT_EQ(accessible(panel.button(names::DisplayClear), QAccessible::Name), "DISPLAY CLEAR");
    for (const auto& [caption, count] : buttonsByCaption) {
        if (count == 1) continue;
        EXPECT_EQ(descriptionsByCaption[caption].size(), static_cast<std::size_t>(count))
            << "the " << count << " \"" << caption << "\" buttons";
        EXPECT_FALSE(descriptionsByCaption[caption].contains("")) << caption;
    }
    EXPECT_EQ(accessible(panel.button(names::VolumeUp), QAccessible::Description),
              "Volume up: repeats while held");
}

TEST_F(OnQt, OnlyThePrimaryButtonsDoubleClickOnThePictureEnlarges) {
    pressCtrlJ();
    ASSERT_EQ(panel.form.window().height(), panel::kHeightExpanded);
    QWindow* window = panel.window()->windowHandle();
    for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseDClick(window, other, {}, centreOf(names::Picture));
        EXPECT_EQ(panel.form.window().height(), panel::kHeightExpanded) << other;
    }
    QTest::mouseDClick(window, Qt::LeftButton, {}, centreOf(names::Picture));
    EXPECT_EQ(panel.form.window().height(), panel::kHeightFull);
    EXPECT_EQ(QGuiApplication::mouseButtons(), Qt::NoButton);
}

TEST_F(OnQt, AFastDoubleClickOnPlusSendsTwice) {
    QTest::mouseDClick(panel.window()->windowHandle(), Qt::LeftButton, {},
                       centreOf(names::VolumeUp));
    EXPECT_TRUE(peerReceivesOnly("C09\rC09\r")) << received;
    EXPECT_FALSE(panel.timerRunning(names::RepeatTimer));
}

TEST_F(OnQt, AWindowThatLosesTheFocusEndsAHold) {
    QTest::mousePress(panel.button(names::VolumeUp), Qt::LeftButton);
    ASSERT_TRUE(waitUntilReceived(peer, received, "C09\rC09\r"));
    QEvent deactivated(QEvent::WindowDeactivate);
    QApplication::sendEvent(panel.window(), &deactivated);
    EXPECT_FALSE(panel.timerRunning(names::RepeatTimer));
    const std::size_t atLoss = received.size();
    waitFor([&] { return !panel.timerRunning(names::TraceClear); });
    received += peer.readAvailable();
    EXPECT_EQ(received.size(), atLoss);
    QTest::mouseRelease(panel.button(names::VolumeUp), Qt::LeftButton);
}

TEST_F(OnQt, AHoldEndsWhereverThePointerIsLetGo) {
    // Through the window system's own delivery, as an operator's hand: the
    // press over "+", the release far from it, at the window's corner.
    QWindow* window = panel.window()->windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, centreOf(names::VolumeUp));
    ASSERT_TRUE(waitUntilReceived(peer, received, "C09\rC09\r"));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(panel.timerRunning(names::RepeatTimer));
    const std::size_t atRelease = received.size();
    waitFor([&] { return !panel.timerRunning(names::TraceClear); });
    received += peer.readAvailable();
    EXPECT_EQ(received.size(), atRelease);
}

TEST_F(OnQt, ATypedEAcuteGoesOutAsByteE9) {
    pressCtrlJ();
    QTest::mouseDClick(panel.window()->windowHandle(), Qt::LeftButton, {},
                       centreOf(names::Picture));
    auto* text = panel.find<QLineEdit>(names::CommandText);
    text->setFocus();
    QTest::keyClicks(text, "C");
    for (const QTest::KeyAction action : {QTest::Press, QTest::Release}) {
        QTest::sendKeyEvent(action, text, Qt::Key_Eacute, QString::fromUtf8("\u00e9"), {});
    }
    ASSERT_EQ(text->text(), QString::fromUtf8("C\u00e9"));
    panel.click(names::Send);
    EXPECT_TRUE(waitUntilReceived(peer, received, "C\xE9\r")) << received;
}

// Space held on a focused hold button acts as the primary mouse button held:
// the first repeat comes a repeat interval after the press, as with the
// mouse, the keyboard's own auto-repeat adds nothing (flagged, or as the
// release-press pairs an X server sends), and the release ends it.
TEST_F(OnQt, SpaceHeldOnVolumeUpRepeatsAsTheMouseDoes) {
    QPushButton* volumeUp = panel.button(names::VolumeUp);
    volumeUp->setFocus();
    QElapsedTimer held;
    held.start();
    QTest::keyPress(volumeUp, Qt::Key_Space);
    ASSERT_TRUE(waitUntilReceived(peer, received, "C09\rC09\r"));
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(volumeUp, &repeat);
    for (int pair = 0; pair < 20; ++pair) {
        QTest::keyRelease(volumeUp, Qt::Key_Space);
        QTest::keyPress(volumeUp, Qt::Key_Space);
    }
    EXPECT_TRUE(panel.timerRunning(names::RepeatTimer));
    QTest::keyRelease(volumeUp, Qt::Key_Space);
    const qint64 heldMs = held.elapsed();
    ASSERT_TRUE(waitFor([&] { return !panel.timerRunning(names::RepeatTimer); }));
    waitFor([&] { return !panel.timerRunning(names::TraceClear); });
    received += peer.readAvailable();
    // One line at the press, then one each 250 ms, and the release's own wait.
    const auto lines = static_cast<qint64>(std::count(received.begin(), received.end(), '\r'));
    EXPECT_LE(lines, 2 + (heldMs + 100) / 250) << received;
}

// A control that loses its place keeps the focus, or gives it to "COM": the
// next Space never reaches a button that sends something.
TEST_F(OnQt, AControlThatLosesItsPlaceNeverHandsTheFocusToASender) {
    pressCtrlJ();
    ASSERT_EQ(panel.form.window().height(), panel::kHeightExpanded);
    QPushButton* toggle = panel.button(names::DataToggle);
    QTest::mouseClick(toggle, Qt::LeftButton);
    ASSERT_EQ(panel.form.window().height(), panel::kHeightStart);
    EXPECT_EQ(QApplication::focusWidget(), toggle);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(panel.form.window().height(), panel::kHeightData);

    panel.find<QTimer>(names::SettingsAutoHide)->setInterval(50);
    panel.click(names::Com);
    panel.widget(names::Com1)->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitFor([&] { return panel.widget(names::PortSettings)->isHidden(); }));
    EXPECT_EQ(QApplication::focusWidget(), panel.button(names::Com));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(panel.widget(names::PortSettings)->isHidden());
    waitFor([&] { return !panel.timerRunning(names::TraceClear); });
    EXPECT_EQ(peer.readAvailable(), "");
}

// Tab goes only to what the window's height shows.
TEST_F(OnQt, TabSkipsWhatTheWindowsHeightCutsOff) {
    for (const int height : {panel::kHeightStart, panel::kHeightFull}) {
        panel.form.window().setHeight(height);
        std::set<QString> reached;
        for (int step = 0; step < 150; ++step) {
            QTest::keyClick(
                QApplication::focusWidget() ? QApplication::focusWidget() : panel.window(),
                Qt::Key_Tab);
            if (QWidget* focus = QApplication::focusWidget()) reached.insert(focus->objectName());
        }
        const bool full = height == panel::kHeightFull;
        EXPECT_EQ(reached.contains(names::CommandText), full) << height;
        EXPECT_EQ(reached.contains(names::StatusQuery), full) << height;
        EXPECT_TRUE(reached.contains(names::PowerOn)) << height;
    }
}

TEST(QtBoxes, AWithdrawnWarningClosesByItself) {
    toolkit::qt::QtMessageBox box(nullptr, "KR60P");
    QTimer::singleShot(50, [&box] {
        box.withdraw("another text");
        box.withdraw("The device was lost.");
    });
    QTimer safety;  // should the box stay, the test fails instead of hanging
    bool stayed = false;
    QObject::connect(&safety, &QTimer::timeout, [&stayed] {
        if (auto* open = QApplication::activeModalWidget()) {
            stayed = true;
            open->close();
        }
    });
    safety.start(5'000);
    box.warn("The device was lost.");
    EXPECT_FALSE(stayed);
}

TEST(QtPrompt, OneReturnTakesATypedPathWhileTheCompletionsShow) {
    PtyPeer device;
    const QString typed = QString::fromStdString(device.devicePath());
    toolkit::qt::QtPathPrompt prompt(nullptr);
    QTimer hand;
    int ticks = 0;
    hand.setInterval(10);
    QObject::connect(&hand, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        auto* edit = dialog->findChild<QLineEdit*>();
        if (edit->text() != typed) {
            edit->clear();
            QTest::keyClicks(edit, typed);
            return;
        }
        // The list shows once the folders are read; Return goes to the list,
        // as the keyboard's does while it shows (a busy machine may not read
        // them in time: the Return is the list's all the same).
        QAbstractItemView* list = edit->completer()->popup();
        if (!list->isVisible() && ++ticks < 200) {
            edit->completer()->complete();
            return;
        }
        hand.stop();
        QTest::keyClick(list, Qt::Key_Return);
    });
    hand.start();
    QTimer::singleShot(15'000, [] {
        if (auto* open = QApplication::activeModalWidget()) open->close();
    });
    EXPECT_EQ(prompt.ask("COM1: other device", "Serial device for COM1:", ""), device.devicePath());
}

// Held with either kind of lock: the panel wants the device to itself.
TEST(SerialPortOnQt, ADeviceAnotherProgramHoldsIsRefusedNamingIt) {
    for (const int lock : {LOCK_EX, LOCK_SH}) {
        SCOPED_TRACE(lock == LOCK_EX ? "exclusive" : "shared");
        PtyPeer device;
        const int held = ::open(device.devicePath().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_EQ(::flock(held, lock | LOCK_NB), 0);
        toolkit::qt::QtSerialPort port;
        port.setDevice(1, device.devicePath());
        try {
            port.setPortOpen(true);
            ADD_FAILURE() << "opened a device another program holds";
        } catch (const toolkit::SerialError& error) {
            EXPECT_EQ(error.fault().kind, toolkit::Fault::Kind::InUse);
            EXPECT_NE(error.fault().holder.find("process " + std::to_string(::getpid())),
                      std::string::npos)
                << error.fault().holder;
        }
        ::close(held);
        port.setPortOpen(true);
        EXPECT_TRUE(port.portOpen());
    }
}

// The device menu appears at the pointer when the mouse opened it, and at
// the option when the keyboard did.
TEST_F(OnQt, TheDeviceMenuOpensWhereTheOperatorIsLooking) {
    panel.click(names::Com);
    QWidget* option = panel.widget(names::Com1);
    const QPoint pointer = panel.window()->mapToGlobal(QPoint(5, 5));
    for (const bool keyboard : {false, true}) {
        SCOPED_TRACE(keyboard ? "keyboard" : "mouse");
        QCursor::setPos(pointer);
        option->setFocus();
        if (keyboard) {
            QTest::keyClick(option, Qt::Key_Menu);
        } else {
            QTest::mousePress(panel.window(), Qt::RightButton, {}, QPoint(5, 5));
        }
        QPoint shownAt;
        QTimer::singleShot(50, [&] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                shownAt = menu->pos();
                menu->close();
            }
        });
        QContextMenuEvent request(keyboard ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse,
                                  QPoint(2, 2), option->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(option, &request);
        EXPECT_EQ(shownAt, keyboard ? option->mapToGlobal(QPoint(0, option->height())) : pointer);
    }
}

// A caption too wide for its button breaks only where the writing system
// allows: at a blank, between Japanese characters, never inside a word.
TEST(Captions, BreakWhereTheWritingSystemAllows) {
    const QFont font("IPAPGothic", 9);
    const QFontMetricsF metrics(font);
    // Room for the wider of the two lines, not for the whole.
    const auto at = [&](const QString& caption, const QString& one, const QString& two) {
        const qreal width =
            std::max(metrics.horizontalAdvance(one), metrics.horizontalAdvance(two));
        return toolkit::qt::captionLines(caption, font, width + 1);
    };
    EXPECT_EQ(at("WIRELESS", "WIRE", "LESS"), QStringList{"WIRELESS"});  // clipped, not broken
    EXPECT_EQ(at("Video mute", "Video ", "mute"), (QStringList{"Video ", "mute"}));
    EXPECT_EQ(at("データを表示する", "データを", "表示する"),
              (QStringList{"データを", "表示する"}));
}
