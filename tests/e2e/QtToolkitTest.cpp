// What the Qt toolkit itself must get right, on the real window: what
// assistive technology reads, which mouse events count, and typed text.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>
#include <map>
#include <set>

#include "PanelWindow.h"
#include "panel/ControlTable.h"
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
