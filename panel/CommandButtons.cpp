#include "panel/CommandButtons.h"

#include <array>

#include "panel/Form1.h"

namespace panel {

namespace {

constexpr auto kNone = Extra::None;

// clang-format off
constexpr std::array kCommandButtons = std::to_array<CommandButton>({
    {"Command17", "C00", kNoPreset, kNone},  // POWER ON
    {"Command18", "C01", kNoPreset, kNone},  // POWER OFF
    {"Command27", "C05", kNoPreset, kNone},  // PC1
    {"Command28", "C06", kNoPreset, kNone},  // PC2
    {"Command29", "C07", kNoPreset, kNone},  // Video
    {"Command37", "C81", kNoPreset, kNone},  // WIRED
    {"Command38", "C82", kNoPreset, kNone},  // WIRELESS
    {"Command19", "C0B", kNoPreset, kNone},  // SOUND MUTE ON
    {"Command20", "C0C", kNoPreset, kNone},  // SOUND MUTE OFF
    {"Command21", "C0D", kNoPreset, kNone},  // NO SHOW ON
    {"Command22", "C0E", kNoPreset, kNone},  // NO SHOW OFF
    {"Command25", "C43", kNoPreset, kNone},  // FREEZE ON
    {"Command26", "C44", kNoPreset, kNone},  // FREEZE OFF
    {"Command23", "C1C", kNoPreset, Extra::ArrowPace},  // MENU ON
    {"Command24", "C1D", kNoPreset, kNone},  // MENU OFF
    {"Command31", "C0F", kNoPreset, kNone},  // Regular
    {"Command32", "C10", kNoPreset, kNone},  // Wide
    {"Command13", "C89", kNoPreset, Extra::ArrowPace},  // A-IMAGE
    {"Command30", "C27", kNoPreset, kNone},  // IMAGE
    {"Command14", "C8A", kNoPreset, kNone},  // P-TIMER
    {"Command3",  "C1E", kNoPreset, kNone},  // DISPLAY CLEAR
    {"Command56", "CF KEYDIS NONE", kNoPreset, kNone},
    {"Command57", "CF KEYDIS RC",   kNoPreset, kNone},
    {"Command58", "CF KEYDIS KEY",  kNoPreset, kNone},
    {"Command33", "", kNoPreset, Extra::ShowPortSettings},  // COM
    {"Command4",  "C11", kPictureModePreset, kNone},  // STAND
    {"Command10", "C12", kPictureModePreset, kNone},  // REAL
    {"Command11", "C13", kPictureModePreset, kNone},  // CINEMA
    {"Command39", "C14", kPictureModePreset, kNone},  // IMAGE1
    {"Command40", "C15", kPictureModePreset, kNone},  // IMAGE2
    {"Command41", "C16", kPictureModePreset, kNone},  // IMAGE3
    {"Command42", "C17", kPictureModePreset, kNone},  // IMAGE4
    {"Command12", "C18", kPictureModePreset, kNone},  // B.Board
    {"Command36", "C19", kPictureModePreset, kNone},  // Dynamic
    {"Command44", "CR0", kNoPreset, kNone},  // STATUS
    {"Command46", "CR3", kNoPreset, kNone},  // L-TIME
    {"Command54", "CR6", kNoPreset, kNone},  // TEMP
    {"Command45", "CR1", kNoPreset, kNone},  // MODE
    {"Command47", "CR4", kNoPreset, kNone},  // SETTING
    {"Command52", "CR7", kNoPreset, kNone},  // L-MODE
    {"Command64", "C50", kSignalTypePreset, kNone},  // PC1 RGB
    {"Command65", "C52", kSignalTypePreset, kNone},  // DVI(PC Digital)
    {"Command66", "C53", kSignalTypePreset, kNone},  // DVI(AV HDCP)
    {"Command72", "C25", kSignalTypePreset, kNone},  // PC2 RGB
    {"Command74", "C24", kSignalTypePreset, kNone},  // Component
    {"Command73", "C26", kSignalTypePreset, kNone},  // Scart
    {"Command81", "C32", kSignalTypePreset, kNone},  // Auto
    {"Command82", "C33", kSignalTypePreset, kNone},  // Video
    {"Command69", "C34", kSignalTypePreset, kNone},  // S-Video
});
// clang-format on

}  // namespace

std::span<const CommandButton> commandButtonTable() {
    return kCommandButtons;
}

void Form1::applyPreset(const Preset& preset) {
    if (preset.replyTimeout == 0) return;
    Timer2.setInterval(preset.replyTimeout);
    Timer4.setInterval(preset.traceClear);
}

void Form1::commandClick(const CommandButton& button) {
    if (button.extra == Extra::ShowPortSettings) {
        Frame8.setVisible(true);
        Timer3.setEnabled(true);
        return;
    }
    applyPreset(button.preset);
    link_.sendCode(std::string(button.code));
    if (button.extra == Extra::ArrowPace) {
        Timer1.setInterval(200);
        ArrowMode = 1;
    }
}

}  // namespace panel
