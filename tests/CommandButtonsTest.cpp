#include <gtest/gtest.h>

#include "tests/PanelFixture.h"

namespace {

struct Expected {
    const char* control;
    const char* wire;  // bytes on the wire
    int replyTimeout;  // Timer2 after the click; 0: unchanged
    int traceClear;    // Timer4 after the click
};

// Typed from the button table, not taken from the program's own table.
const Expected kButtons[] = {
    {"Command17", "C00\r", 0, 0},          {"Command18", "C01\r", 0, 0},
    {"Command27", "C05\r", 0, 0},          {"Command28", "C06\r", 0, 0},
    {"Command29", "C07\r", 0, 0},          {"Command37", "C81\r", 0, 0},
    {"Command38", "C82\r", 0, 0},          {"Command19", "C0B\r", 0, 0},
    {"Command20", "C0C\r", 0, 0},          {"Command21", "C0D\r", 0, 0},
    {"Command22", "C0E\r", 0, 0},          {"Command25", "C43\r", 0, 0},
    {"Command26", "C44\r", 0, 0},          {"Command23", "C1C\r", 0, 0},
    {"Command24", "C1D\r", 0, 0},          {"Command31", "C0F\r", 0, 0},
    {"Command32", "C10\r", 0, 0},          {"Command13", "C89\r", 0, 0},
    {"Command30", "C27\r", 0, 0},          {"Command14", "C8A\r", 0, 0},
    {"Command3", "C1E\r", 0, 0},           {"Command56", "CF KEYDIS NONE\r", 0, 0},
    {"Command57", "CF KEYDIS RC\r", 0, 0}, {"Command58", "CF KEYDIS KEY\r", 0, 0},
    {"Command4", "C11\r", 2000, 2500},     {"Command10", "C12\r", 2000, 2500},
    {"Command11", "C13\r", 2000, 2500},    {"Command39", "C14\r", 2000, 2500},
    {"Command40", "C15\r", 2000, 2500},    {"Command41", "C16\r", 2000, 2500},
    {"Command42", "C17\r", 2000, 2500},    {"Command12", "C18\r", 2000, 2500},
    {"Command36", "C19\r", 2000, 2500},    {"Command44", "CR0\r", 0, 0},
    {"Command46", "CR3\r", 0, 0},          {"Command54", "CR6\r", 0, 0},
    {"Command45", "CR1\r", 0, 0},          {"Command47", "CR4\r", 0, 0},
    {"Command52", "CR7\r", 0, 0},          {"Command64", "C50\r", 5000, 5500},
    {"Command65", "C52\r", 5000, 5500},    {"Command66", "C53\r", 5000, 5500},
    {"Command72", "C25\r", 5000, 5500},    {"Command74", "C24\r", 5000, 5500},
    {"Command73", "C26\r", 5000, 5500},    {"Command81", "C32\r", 5000, 5500},
    {"Command82", "C33\r", 5000, 5500},    {"Command69", "C34\r", 5000, 5500},
};

}  // namespace

using CommandButtons = PanelTest;

TEST_F(CommandButtons, EveryButtonSendsItsCodeWithItsPreset) {
    for (const Expected& e : kButtons) {
        SCOPED_TRACE(e.control);
        // A pair no button sets, so that an unchanged pair shows.
        timer("Timer2").setInterval(111);
        timer("Timer4").setInterval(222);
        tk.port.writes.clear();

        button(e.control).click();

        EXPECT_EQ(tk.port.wire(), e.wire);
        EXPECT_EQ(form.link().sendLine(), e.wire);
        EXPECT_EQ(timer("Timer2").interval(), e.replyTimeout ? e.replyTimeout : 111);
        EXPECT_EQ(timer("Timer4").interval(), e.traceClear ? e.traceClear : 222);
    }
}

TEST_F(CommandButtons, APresetIsSetBeforeTheTransmitSoItsExchangeUsesIt) {
    button("Command10").click();
    advance(1999);
    EXPECT_EQ(caption("Label12"), "");
    advance(1);
    EXPECT_EQ(caption("Label12"), " X X X X");
}

TEST_F(CommandButtons, PresetsPersistForLaterSends) {
    button("Command10").click();
    button("Command18").click();
    EXPECT_EQ(timer("Timer2").interval(), 2000);
    EXPECT_EQ(timer("Timer4").interval(), 2500);
    button("Command64").click();
    button("Command17").click();
    EXPECT_EQ(timer("Timer2").interval(), 5000);
    EXPECT_EQ(timer("Timer4").interval(), 5500);
}

TEST_F(CommandButtons, AImageAndMenuOnPrepareTheArrows) {
    for (const char* control : {"Command13", "Command23"}) {
        SCOPED_TRACE(control);
        form.ArrowMode = 0;
        timer("Timer1").setInterval(999);
        button(control).click();
        EXPECT_EQ(timer("Timer1").interval(), 200);
        EXPECT_EQ(form.ArrowMode, 1);
        EXPECT_FALSE(timer("Timer1").enabled());
    }
    button("Command24").click();  // MENU OFF leaves it
    EXPECT_EQ(form.ArrowMode, 1);
}

TEST_F(CommandButtons, ComSendsNothing) {
    button("Command33").click();
    EXPECT_TRUE(tk.port.writes.empty());
    EXPECT_EQ(form.link().sendLine(), "");
}

TEST_F(CommandButtons, AQueryFollowedAtOnceByOffIsNotDecoded) {
    button("Command44").click();
    button("Command18").click();
    tk.port.deliver("00\r");
    EXPECT_EQ(caption("Label12"), " 0 0 CR ");
    EXPECT_EQ(caption("Label22"), "");
}
