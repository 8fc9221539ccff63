#include "panel/CommandButtons.h"

#include <array>

#include "panel/ControlNames.h"

namespace panel {

namespace {

using namespace names;

constexpr auto kNone = Extra::None;

// clang-format off
constexpr std::array kCommandButtons = std::to_array<CommandButton>({
    {PowerOn,           "C00", kNoPreset, kNone, "power-on"},
    {PowerOff,          "C01", kNoPreset, kNone, "power-off"},
    {InputPc1,          "C05", kNoPreset, kNone, "input-pc1"},
    {InputPc2,          "C06", kNoPreset, kNone, "input-pc2"},
    {InputVideo,        "C07", kNoPreset, kNone, "input-video"},
    {Wired,             "C81", kNoPreset, kNone, "signal-wired"},
    {Wireless,          "C82", kNoPreset, kNone, "signal-wireless"},
    {SoundMuteOn,       "C0B", kNoPreset, kNone, "mute-on"},
    {SoundMuteOff,      "C0C", kNoPreset, kNone, "mute-off"},
    {NoShowOn,          "C0D", kNoPreset, kNone, "no-show-on"},
    {NoShowOff,         "C0E", kNoPreset, kNone, "no-show-off"},
    {FreezeOn,          "C43", kNoPreset, kNone, "freeze-on"},
    {FreezeOff,         "C44", kNoPreset, kNone, "freeze-off"},
    {MenuOn,            "C1C", kNoPreset, Extra::ArrowPace, "menu-on"},
    {MenuOff,           "C1D", kNoPreset, kNone, "menu-off"},
    {AvRegular,         "C0F", kNoPreset, kNone, "size-regular"},
    {AvWide,            "C10", kNoPreset, kNone, "size-wide"},
    {AutoImage,         "C89", kNoPreset, Extra::ArrowPace, "auto-image"},
    {ImageAdjust,       "C27", kNoPreset, kNone, "image"},
    {PresentationTimer, "C8A", kNoPreset, kNone, "presentation-timer"},
    {DisplayClear,      "C1E", kNoPreset, kNone, "display-clear"},
    {KeyLockNone,       "CF KEYDIS NONE", kNoPreset, kNone, "key-lock-none"},
    {KeyLockRemote,     "CF KEYDIS RC",   kNoPreset, kNone, "key-lock-remote"},
    {KeyLockKeys,       "CF KEYDIS KEY",  kNoPreset, kNone, "key-lock-keys"},
    {PictureStandard,   "C11", kPictureModePreset, kNone, "picture-standard"},
    {PictureReal,       "C12", kPictureModePreset, kNone, "picture-real"},
    {PictureCinema,     "C13", kPictureModePreset, kNone, "picture-cinema"},
    {PictureImage1,     "C14", kPictureModePreset, kNone, "picture-image1"},
    {PictureImage2,     "C15", kPictureModePreset, kNone, "picture-image2"},
    {PictureImage3,     "C16", kPictureModePreset, kNone, "picture-image3"},
    {PictureImage4,     "C17", kPictureModePreset, kNone, "picture-image4"},
    {PictureBlackboard, "C18", kPictureModePreset, kNone, "picture-blackboard"},
    {PictureDynamic,    "C19", kPictureModePreset, kNone, "picture-dynamic"},
    {StatusQuery,       "CR0", kNoPreset, kNone, "power-state"},
    {LampTimeQuery,     "CR3", kNoPreset, kNone, "lamp-time"},
    {TemperatureQuery,  "CR6", kNoPreset, kNone, "temperatures"},
    {InputQuery,        "CR1", kNoPreset, kNone, "input-mode"},
    {ReversalQuery,     "CR4", kNoPreset, kNone, "image-reversal"},
    {LampModeQuery,     "CR7", kNoPreset, kNone, "lamp-mode"},
    {Pc1Rgb,            "C50", kSignalTypePreset, kNone, "pc1-rgb"},
    {Pc1DviPc,          "C52", kSignalTypePreset, kNone, "pc1-dvi-pc"},
    {Pc1DviAv,          "C53", kSignalTypePreset, kNone, "pc1-dvi-av"},
    {Pc2Rgb,            "C25", kSignalTypePreset, kNone, "pc2-rgb"},
    {Pc2Component,      "C24", kSignalTypePreset, kNone, "pc2-component"},
    {Pc2Scart,          "C26", kSignalTypePreset, kNone, "pc2-scart"},
    {VideoAuto,         "C32", kSignalTypePreset, kNone, "video-auto"},
    {VideoComposite,    "C33", kSignalTypePreset, kNone, "video-composite"},
    {VideoSVideo,       "C34", kSignalTypePreset, kNone, "video-s-video"},
});
// clang-format on

}  // namespace

std::span<const CommandButton> commandButtonTable() {
    return kCommandButtons;
}

CommandButtons::CommandButtons(projector::Link& link, HoldRepeater& repeater)
    : link_(link), repeater_(repeater) {}

void CommandButtons::click(const CommandButton& button) {
    pace(link_, button.preset);
    if (!link_.send(button.code)) return;
    if (button.extra == Extra::ArrowPace) repeater_.paceArrowsForMenu();
}

}  // namespace panel
