#include <gtest/gtest.h>

#include "panel/DirectEntry.h"
#include "tests/PanelFixture.h"

TEST(WireBytes, OneBytePerCharacter) {
    struct Case {
        std::string typed;
        std::string wire;
    };
    for (const Case& c : {
             Case{"CR PRESSURE", "CR PRESSURE"},
             Case{"", ""},
             Case{"\xC3\xA9", "\xE9"},           // U+00E9 as its byte
             Case{"\xC3\xBF", "\xFF"},           // U+00FF
             Case{"\xC2\x80", "\x80"},           // U+0080
             Case{"\xC4\x80", "?"},              // U+0100
             Case{"\xE3\x83\x87", "?"},          // a Japanese character
             Case{"a\xF0\x9F\x98\x80z", "a?z"},  // beyond the basic plane
             Case{"\xFF", "?"},                  // not UTF-8 at all
             Case{"\xC3", "?"},                  // cut short
             Case{"\xC3"
                  "A",
                  "?A"},
         }) {
        EXPECT_EQ(panel::wireBytesOf(c.typed), c.wire);
    }
}

using DirectEntry = PanelTest;

TEST_F(DirectEntry, SendTransmitsTheTypedTextExactly) {
    for (const char* typed : {"CR PRESSURE", "cr0", "", "  C00 ", "CF KEYDIS RC"}) {
        SCOPED_TRACE(typed);
        tk.textBox("Text1").setText(typed);
        tk.port.writes.clear();
        button("Command95").click();
        EXPECT_EQ(tk.port.wire(), std::string(typed) + "\r");
        EXPECT_EQ(form.TypedCommand, typed);
        EXPECT_EQ(tk.textBox("Text1").text(), typed);
        EXPECT_EQ(timer("Timer2").interval(), 2000);
        EXPECT_EQ(timer("Timer4").interval(), 2500);
    }
    EXPECT_EQ(caption("Label11"), " C F   K E Y D I S   R C CR ");
}

TEST_F(DirectEntry, AnEmptyBoxSendsACarriageReturn) {
    button("Command95").click();
    EXPECT_EQ(tk.port.wire(), "\r");
    EXPECT_EQ(caption("Label11"), " CR ");
}

TEST_F(DirectEntry, TypedQueriesAreDecodedOnlyWhenExact) {
    tk.textBox("Text1").setText("CR PRESSURE");
    button("Command95").click();
    tk.port.deliver("512\r");
    EXPECT_EQ(caption("Label22"), "650 hPa");
    EXPECT_EQ(form.link().pressureValue(), 650);

    advance(2500);
    tk.textBox("Text1").setText("cr0");
    button("Command95").click();
    tk.port.deliver("00\r");
    EXPECT_EQ(caption("Label12"), " 0 0 CR ");
    EXPECT_EQ(caption("Label22"), "");
}

TEST_F(DirectEntry, SendingTwiceSendsTheSameLineTwice) {
    tk.textBox("Text1").setText("CRA");
    button("Command95").click();
    button("Command95").click();
    EXPECT_EQ(sent(), (std::vector<std::string>{"CRA", "CRA"}));
}

TEST_F(DirectEntry, CharactersAboveLatin1GoOutAsQuestionMarks) {
    tk.textBox("Text1").setText("C\xC3\xA9\xE3\x83\x87");
    button("Command95").click();
    EXPECT_EQ(tk.port.wire(), "C\xE9?\r");
    EXPECT_EQ(caption("Label11"), " C ? ? CR ");
}

TEST_F(DirectEntry, ClsEmptiesTheBoxAndNothingElse) {
    tk.textBox("Text1").setText("CR0");
    button("Command95").click();
    tk.port.deliver("00\r");
    const int t2 = timer("Timer2").interval();
    button("Command96").click();
    EXPECT_EQ(tk.textBox("Text1").text(), "");
    EXPECT_EQ(caption("Label11"), " C R 0 CR ");
    EXPECT_EQ(caption("Label22"), " Power ON");
    EXPECT_EQ(form.TypedCommand, "CR0");
    EXPECT_EQ(form.link().sendLine(), "CR0\r");
    EXPECT_EQ(timer("Timer2").interval(), t2);
    EXPECT_TRUE(timer("Timer2").enabled());
    EXPECT_EQ(sent().size(), 1u);
}

TEST_F(DirectEntry, TheToggleSwitchesByTheCurrentHeightAlone) {
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
        tk.window->setHeight(c.height);
        form.ExpandFlag = 1;
        button("Command34").click();
        EXPECT_EQ(tk.window->height(), c.after);
        EXPECT_EQ(button("Command34").caption(), c.caption);
        EXPECT_EQ(form.ExpandFlag, 0);
        EXPECT_TRUE(timer("Timer3").enabled());
    }
}

TEST_F(DirectEntry, TheToggleRestartsTheSettingsAutoHide) {
    button("Command33").click();
    advance(4000);
    button("Command34").click();
    advance(4999);
    EXPECT_TRUE(tk.frame("Frame8").visible());
    advance(1);
    EXPECT_FALSE(tk.frame("Frame8").visible());
}
