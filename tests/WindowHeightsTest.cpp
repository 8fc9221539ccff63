// The window's heights: the data-display toggle, Ctrl+J and the picture's
// double-click.

#include <gtest/gtest.h>

#include "PanelFixture.h"

using toolkit::AltMask;
using toolkit::CtrlMask;
using toolkit::ShiftMask;

using WindowHeights = PanelTest;
using panel::kKeyJ;

TEST_F(WindowHeights, OnlyCtrlJExpands) {
    struct Case {
        int key;
        int shift;
        bool expands;
    };
    for (const Case& c :
         {Case{kKeyJ, CtrlMask, true}, Case{kKeyJ, CtrlMask | 8, true},
          Case{kKeyJ, CtrlMask | ShiftMask, false}, Case{kKeyJ, CtrlMask | AltMask, false},
          Case{kKeyJ, 0, false}, Case{kKeyJ, ShiftMask, false}, Case{106, CtrlMask, false},
          Case{75, CtrlMask, false}, Case{13, 0, false}}) {
        SCOPED_TRACE(::testing::Message() << c.key << " " << c.shift);
        button(names::DataToggle).click();  // disarms the picture's double-click
        tk.window->setHeight(5350);
        button(names::DataToggle).setVisible(false);
        tk.window->keyDown(c.key, c.shift);
        EXPECT_EQ(tk.window->height(), c.expands ? 7200 : 5350);
        EXPECT_EQ(button(names::DataToggle).visible(), c.expands);
        EXPECT_EQ(pictureEnlarges(), c.expands);
    }
    EXPECT_TRUE(tk.port.writes.empty());
}

TEST_F(WindowHeights, CtrlJRepeatedAndFromFullGiveTheExpandedState) {
    tk.window->keyDown(kKeyJ, CtrlMask);
    tk.window->keyDown(kKeyJ, CtrlMask);
    EXPECT_EQ(tk.window->height(), 7200);
    tk.image(names::Picture).doubleClick();
    EXPECT_EQ(tk.window->height(), 9100);
    tk.window->keyDown(kKeyJ, CtrlMask);
    EXPECT_EQ(tk.window->height(), 7200);
    EXPECT_EQ(button(names::DataToggle).caption(), "CLOSE");
}

TEST_F(WindowHeights, DoubleClickOnThePictureEnlargesOnlyAfterCtrlJ) {
    tk.image(names::Picture).doubleClick();
    EXPECT_EQ(tk.window->height(), 5350);
    EXPECT_FALSE(button(names::DataToggle).visible());

    tk.window->keyDown(kKeyJ, CtrlMask);
    tk.image(names::Picture).doubleClick();
    EXPECT_EQ(tk.window->height(), 9100);
    EXPECT_EQ(button(names::DataToggle).caption(), "CLOSE");
    EXPECT_TRUE(button(names::DataToggle).visible());
    tk.image(names::Picture).doubleClick();
    EXPECT_EQ(tk.window->height(), 9100);

    button(names::DataToggle).click();
    EXPECT_EQ(tk.window->height(), 5350);
    tk.image(names::Picture).doubleClick();
    EXPECT_EQ(tk.window->height(), 5350);
    EXPECT_TRUE(button(names::DataToggle).visible());
    EXPECT_TRUE(tk.port.writes.empty());
}

TEST_F(WindowHeights, TheToggleSwitchesByTheCurrentHeightAlone) {
    struct Case {
        int height;
        int after;
        const char* caption;
    };
    for (const Case& c :
         {Case{5350, 6645, "データを表示しない"}, Case{5999, 6645, "データを表示しない"},
          Case{6000, 5350, "データを表示する"}, Case{6645, 5350, "データを表示する"},
          Case{7200, 5350, "データを表示する"}, Case{9100, 5350, "データを表示する"}}) {
        SCOPED_TRACE(c.height);
        tk.window->keyDown(kKeyJ, toolkit::CtrlMask);  // arms the picture's double-click
        tk.window->setHeight(c.height);
        button(names::DataToggle).click();
        EXPECT_EQ(tk.window->height(), c.after);
        EXPECT_EQ(button(names::DataToggle).caption(), c.caption);
        EXPECT_TRUE(timer(names::SettingsAutoHide).enabled());
        EXPECT_FALSE(pictureEnlarges());
    }
}

TEST_F(WindowHeights, TheToggleRestartsTheSettingsAutoHide) {
    button(names::Com).click();
    advance(4000);
    button(names::DataToggle).click();
    advance(4999);
    EXPECT_TRUE(tk.frame(names::PortSettings).visible());
    advance(1);
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());
}
