#include <gtest/gtest.h>

#include "PanelFixture.h"

namespace {

struct Expected {
    const char* control;
    const char* wire;  // bytes on the wire
    int replyTimeout;  // Timer2 after the click; 0: unchanged
    int traceClear;    // Timer4 after the click
};

// Typed from the button table, not taken from the program's own table.
const Expected kButtons[] = {
    {names::PowerOn, "C00\r", 0, 0},
    {names::PowerOff, "C01\r", 0, 0},
    {names::InputPc1, "C05\r", 0, 0},
    {names::InputPc2, "C06\r", 0, 0},
    {names::InputVideo, "C07\r", 0, 0},
    {names::Wired, "C81\r", 0, 0},
    {names::Wireless, "C82\r", 0, 0},
    {names::SoundMuteOn, "C0B\r", 0, 0},
    {names::SoundMuteOff, "C0C\r", 0, 0},
    {names::NoShowOn, "C0D\r", 0, 0},
    {names::NoShowOff, "C0E\r", 0, 0},
    {names::FreezeOn, "C43\r", 0, 0},
    {names::FreezeOff, "C44\r", 0, 0},
    {names::MenuOn, "C1C\r", 0, 0},
    {names::MenuOff, "C1D\r", 0, 0},
    {names::AvRegular, "C0F\r", 0, 0},
    {names::AvWide, "C10\r", 0, 0},
    {names::AutoImage, "C89\r", 0, 0},
    {names::ImageAdjust, "C27\r", 0, 0},
    {names::PresentationTimer, "C8A\r", 0, 0},
    {names::DisplayClear, "C1E\r", 0, 0},
    {names::KeyLockNone, "CF KEYDIS NONE\r", 0, 0},
    {names::KeyLockRemote, "CF KEYDIS RC\r", 0, 0},
    {names::KeyLockKeys, "CF KEYDIS KEY\r", 0, 0},
    {names::PictureStandard, "C11\r", 2000, 2500},
    {names::PictureReal, "C12\r", 2000, 2500},
    {names::PictureCinema, "C13\r", 2000, 2500},
    {names::PictureImage1, "C14\r", 2000, 2500},
    {names::PictureImage2, "C15\r", 2000, 2500},
    {names::PictureImage3, "C16\r", 2000, 2500},
    {names::PictureImage4, "C17\r", 2000, 2500},
    {names::PictureBlackboard, "C18\r", 2000, 2500},
    {names::PictureDynamic, "C19\r", 2000, 2500},
    {names::StatusQuery, "CR0\r", 0, 0},
    {names::LampTimeQuery, "CR3\r", 0, 0},
    {names::TemperatureQuery, "CR6\r", 0, 0},
    {names::InputQuery, "CR1\r", 0, 0},
    {names::ReversalQuery, "CR4\r", 0, 0},
    {names::LampModeQuery, "CR7\r", 0, 0},
    {names::Pc1Rgb, "C50\r", 5000, 5500},
    {names::Pc1DviPc, "C52\r", 5000, 5500},
    {names::Pc1DviAv, "C53\r", 5000, 5500},
    {names::Pc2Rgb, "C25\r", 5000, 5500},
    {names::Pc2Component, "C24\r", 5000, 5500},
    {names::Pc2Scart, "C26\r", 5000, 5500},
    {names::VideoAuto, "C32\r", 5000, 5500},
    {names::VideoComposite, "C33\r", 5000, 5500},
    {names::VideoSVideo, "C34\r", 5000, 5500},
};

}  // namespace

using CommandButtons = PanelTest;

TEST_F(CommandButtons, EveryButtonSendsItsCodeWithItsPreset) {
    for (const Expected& e : kButtons) {
        SCOPED_TRACE(e.control);
        // A pair no button sets, so that an unchanged pair shows.
        timer(names::ReplyTimeout).setInterval(111);
        timer(names::TraceClear).setInterval(222);
        tk.port.writes.clear();

        button(e.control).click();

        EXPECT_EQ(tk.port.wire(), e.wire);
        EXPECT_EQ(linesSent.sent.back(), e.wire);
        EXPECT_EQ(timer(names::ReplyTimeout).interval(), e.replyTimeout ? e.replyTimeout : 111);
        EXPECT_EQ(timer(names::TraceClear).interval(), e.traceClear ? e.traceClear : 222);
    }
}

TEST_F(CommandButtons, APresetIsSetBeforeTheTransmitSoItsExchangeUsesIt) {
    button(names::PictureReal).click();
    advance(1999);
    EXPECT_EQ(caption(names::ReceivedTrace), "");
    advance(1);
    EXPECT_EQ(caption(names::ReceivedTrace), " X X X X");
}

TEST_F(CommandButtons, PresetsPersistForLaterSends) {
    button(names::PictureReal).click();
    button(names::PowerOff).click();
    EXPECT_EQ(timer(names::ReplyTimeout).interval(), 2000);
    EXPECT_EQ(timer(names::TraceClear).interval(), 2500);
    button(names::Pc1Rgb).click();
    button(names::PowerOn).click();
    EXPECT_EQ(timer(names::ReplyTimeout).interval(), 5000);
    EXPECT_EQ(timer(names::TraceClear).interval(), 5500);
}

TEST_F(CommandButtons, AImageAndMenuOnPrepareTheArrows) {
    const std::pair menuPacing{150, 190};
    for (const char* control : {names::AutoImage, names::MenuOn}) {
        SCOPED_TRACE(control);
        // A D.Zoom release paces the arrows otherwise first.
        button(names::ZoomUp).press();
        button(names::ZoomUp).release();
        ASSERT_EQ(arrowPacing(), (std::pair{5, 5}));
        timer(names::RepeatTimer).setInterval(999);
        button(control).click();
        EXPECT_EQ(timer(names::RepeatTimer).interval(), 200);
        EXPECT_FALSE(timer(names::RepeatTimer).enabled());
        EXPECT_EQ(arrowPacing(), menuPacing);
    }
    button(names::MenuOff).click();  // MENU OFF leaves it
    EXPECT_EQ(arrowPacing(), menuPacing);
}

TEST_F(CommandButtons, ComSendsNothing) {
    button(names::Com).click();
    EXPECT_TRUE(tk.port.writes.empty());
    EXPECT_TRUE(linesSent.sent.empty());
}

TEST_F(CommandButtons, AQueryFollowedAtOnceByOffIsNotDecoded) {
    button(names::StatusQuery).click();
    button(names::PowerOff).click();
    tk.port.deliver("00\r");
    EXPECT_EQ(caption(names::ReceivedTrace), " 0 0 CR ");
    EXPECT_EQ(caption(names::StatusText), "");
}
