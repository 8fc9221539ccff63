#include <gtest/gtest.h>

#include "PanelFixture.h"

using toolkit::AltMask;
using toolkit::CtrlMask;
using toolkit::ShiftMask;

using Keys = PanelTest;

TEST_F(Keys, OnlyCtrlJExpands) {
    struct Case {
        int key;
        int shift;
        bool expands;
    };
    for (const Case& c :
         {Case{74, CtrlMask, true}, Case{74, CtrlMask | 8, true},
          Case{74, CtrlMask | ShiftMask, false}, Case{74, CtrlMask | AltMask, false},
          Case{74, 0, false}, Case{74, ShiftMask, false}, Case{106, CtrlMask, false},
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

TEST_F(Keys, CtrlJRepeatedAndFromFullGiveTheExpandedState) {
    tk.window->keyDown(74, CtrlMask);
    tk.window->keyDown(74, CtrlMask);
    EXPECT_EQ(tk.window->height(), 7200);
    tk.image(names::Picture).doubleClick();
    EXPECT_EQ(tk.window->height(), 9100);
    tk.window->keyDown(74, CtrlMask);
    EXPECT_EQ(tk.window->height(), 7200);
    EXPECT_EQ(button(names::DataToggle).caption(), "CLOSE");
}

TEST_F(Keys, DoubleClickOnThePictureEnlargesOnlyAfterCtrlJ) {
    tk.image(names::Picture).doubleClick();
    EXPECT_EQ(tk.window->height(), 5350);
    EXPECT_FALSE(button(names::DataToggle).visible());

    tk.window->keyDown(74, CtrlMask);
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
