#include <gtest/gtest.h>

#include "tests/PanelFixture.h"

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
        tk.window->setHeight(5350);
        form.ExpandFlag = 0;
        button("Command34").setVisible(false);
        tk.window->keyDown(c.key, c.shift);
        EXPECT_EQ(tk.window->height(), c.expands ? 7200 : 5350);
        EXPECT_EQ(form.ExpandFlag, c.expands ? 1 : 0);
        EXPECT_EQ(button("Command34").visible(), c.expands);
    }
    EXPECT_TRUE(tk.port.writes.empty());
}

TEST_F(Keys, CtrlJRepeatedAndFromFullGiveTheExpandedState) {
    tk.window->keyDown(74, CtrlMask);
    tk.window->keyDown(74, CtrlMask);
    EXPECT_EQ(tk.window->height(), 7200);
    tk.image("Image1").doubleClick();
    EXPECT_EQ(tk.window->height(), 9100);
    tk.window->keyDown(74, CtrlMask);
    EXPECT_EQ(tk.window->height(), 7200);
    EXPECT_EQ(button("Command34").caption(), "CLOSE");
}

TEST_F(Keys, DoubleClickOnThePictureEnlargesOnlyAfterCtrlJ) {
    tk.image("Image1").doubleClick();
    EXPECT_EQ(tk.window->height(), 5350);
    EXPECT_FALSE(button("Command34").visible());

    tk.window->keyDown(74, CtrlMask);
    tk.image("Image1").doubleClick();
    EXPECT_EQ(tk.window->height(), 9100);
    EXPECT_EQ(button("Command34").caption(), "CLOSE");
    EXPECT_TRUE(button("Command34").visible());
    tk.image("Image1").doubleClick();
    EXPECT_EQ(tk.window->height(), 9100);

    button("Command34").click();
    EXPECT_EQ(tk.window->height(), 5350);
    tk.image("Image1").doubleClick();
    EXPECT_EQ(tk.window->height(), 5350);
    EXPECT_TRUE(button("Command34").visible());
    EXPECT_TRUE(tk.port.writes.empty());
}
