#include <gtest/gtest.h>

#include "PanelFixture.h"
#include "vocabulary/WireBytes.h"

TEST(WireBytes, OneBytePerCharacter) {
    struct Case {
        std::string typed;
        std::string wire;
    };
    for (const Case& c : {
             Case{"CR PRESSURE", "CR PRESSURE"}, Case{"", ""},
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
             // Malformed forms are one '?' each, never the byte they would spell.
             Case{std::string("\xC0\x80", 2), "?"},  // overlong NUL
             Case{"\xE0\x80\x8D", "?"},              // overlong CR
             Case{"\xF0\x80\x80\x8D", "?"},          // overlong CR, four bytes
             Case{"\xC1\xBF", "?"},                  // overlong DEL
             // A surrogate and a code point above U+10FFFF whose low byte is a
             // CR: never that byte.
             Case{"\xED\xA0\x8D", "?"},          // U+D80D
             Case{"\xF4\x90\x80\x8D", "?"},      // U+11000D
             Case{"\xF8\x88\x80\x80\x80", "?"},  // five bytes, U+200000
             Case{"\x80\xBF", "??"},             // stray continuation bytes
             Case{"\xE0\x83\xA9", "?"},          // U+00E9 overlong in three bytes
             Case{"A\x80"
                  "B",
                  "A?B"},  // a stray one takes nothing before it
             Case{"\xC3\xA9\x80", "\xE9?"},
             Case{"\xE3\x83"
                  "A",
                  "?A"},  // cut short
             Case{"\xFE\xFF", "??"},
             Case{"\xF4\x8F\xBF\xBF", "?"},  // U+10FFFF: well formed, above Latin-1
         }) {
        EXPECT_EQ(projector::wireBytesOf(c.typed), c.wire);
    }
}

using DirectEntry = PanelTest;

TEST_F(DirectEntry, SendTransmitsTheTypedTextExactly) {
    for (const char* typed : {"CR PRESSURE", "cr0", "", "  C00 ", "CF KEYDIS RC"}) {
        SCOPED_TRACE(typed);
        tk.textBox(names::CommandText).setText(typed);
        tk.port.writes.clear();
        button(names::Send).click();
        EXPECT_EQ(tk.port.wire(), std::string(typed) + "\r");
        EXPECT_EQ(tk.textBox(names::CommandText).text(), typed);
        EXPECT_EQ(timer(names::ReplyTimeout).interval(), 2000);
        EXPECT_EQ(timer(names::TraceClear).interval(), 2500);
    }
    EXPECT_EQ(caption(names::SentTrace), " C F   K E Y D I S   R C CR ");
}

TEST_F(DirectEntry, AnEmptyBoxSendsACarriageReturn) {
    button(names::Send).click();
    EXPECT_EQ(tk.port.wire(), "\r");
    EXPECT_EQ(caption(names::SentTrace), " CR ");
}

TEST_F(DirectEntry, TypedQueriesAreDecodedOnlyWhenExact) {
    tk.textBox(names::CommandText).setText("CR PRESSURE");
    button(names::Send).click();
    tk.port.deliver("512\r");
    EXPECT_EQ(caption(names::StatusText), "650 hPa");

    advance(2500);
    tk.textBox(names::CommandText).setText("cr0");
    button(names::Send).click();
    tk.port.deliver("00\r");
    EXPECT_EQ(caption(names::ReceivedTrace), " 0 0 CR ");
    EXPECT_EQ(caption(names::StatusText), "");
}

TEST_F(DirectEntry, SendingTwiceSendsTheSameLineTwice) {
    tk.textBox(names::CommandText).setText("CRA");
    button(names::Send).click();
    button(names::Send).click();
    EXPECT_EQ(sent(), (std::vector<std::string>{"CRA", "CRA"}));
}

TEST_F(DirectEntry, CharactersAboveLatin1GoOutAsQuestionMarks) {
    tk.textBox(names::CommandText).setText("C\xC3\xA9\xE3\x83\x87");
    button(names::Send).click();
    EXPECT_EQ(tk.port.wire(), "C\xE9?\r");
    EXPECT_EQ(caption(names::SentTrace), " C ? ? CR ");
}

TEST_F(DirectEntry, ClsEmptiesTheBoxAndNothingElse) {
    tk.textBox(names::CommandText).setText("CR0");
    button(names::Send).click();
    tk.port.deliver("00\r");
    const int t2 = timer(names::ReplyTimeout).interval();
    button(names::ClearText).click();
    EXPECT_EQ(tk.textBox(names::CommandText).text(), "");
    EXPECT_EQ(caption(names::SentTrace), " C R 0 CR ");
    EXPECT_EQ(caption(names::StatusText), " Power ON");
    EXPECT_EQ(timer(names::ReplyTimeout).interval(), t2);
    EXPECT_TRUE(timer(names::ReplyTimeout).enabled());
    EXPECT_EQ(sent().size(), 1u);
    // The line last sent is still the query: a later reply is decoded by it.
    advance(2000);
    tk.port.deliver("80\r");
    EXPECT_EQ(caption(names::StatusText), " Stand by");
}
