#include "panel/CommandButtons.h"

#include <array>

#include "panel/ControlNames.h"

namespace panel {

namespace {

using namespace names;

constexpr auto kNone = Extra::None;

// clang-format off
constexpr std::array kCommandButtons = std::to_array<CommandButton>({
    {PowerOn,           "C00", kNoPreset, kNone},
    {PowerOff,          "C01", kNoPreset, kNone},
    {InputPc1,          "C05", kNoPreset, kNone},
    {InputPc2,          "C06", kNoPreset, kNone},
    {InputVideo,        "C07", kNoPreset, kNone},
    {Wired,             "C81", kNoPreset, kNone},
    {Wireless,          "C82", kNoPreset, kNone},
    {SoundMuteOn,       "C0B", kNoPreset, kNone},
    {SoundMuteOff,      "C0C", kNoPreset, kNone},
    {NoShowOn,          "C0D", kNoPreset, kNone},
    {NoShowOff,         "C0E", kNoPreset, kNone},
    {FreezeOn,          "C43", kNoPreset, kNone},
    {FreezeOff,         "C44", kNoPreset, kNone},
    {MenuOn,            "C1C", kNoPreset, Extra::ArrowPace},
    {MenuOff,           "C1D", kNoPreset, kNone},
    {AvRegular,         "C0F", kNoPreset, kNone},
    {AvWide,            "C10", kNoPreset, kNone},
    {AutoImage,         "C89", kNoPreset, Extra::ArrowPace},
    {ImageAdjust,       "C27", kNoPreset, kNone},
    {PresentationTimer, "C8A", kNoPreset, kNone},
    {DisplayClear,      "C1E", kNoPreset, kNone},
    {KeyLockNone,       "CF KEYDIS NONE", kNoPreset, kNone},
    {KeyLockRemote,     "CF KEYDIS RC",   kNoPreset, kNone},
    {KeyLockKeys,       "CF KEYDIS KEY",  kNoPreset, kNone},
    {PictureStandard,   "C11", kPictureModePreset, kNone},
    {PictureReal,       "C12", kPictureModePreset, kNone},
    {PictureCinema,     "C13", kPictureModePreset, kNone},
    {PictureImage1,     "C14", kPictureModePreset, kNone},
    {PictureImage2,     "C15", kPictureModePreset, kNone},
    {PictureImage3,     "C16", kPictureModePreset, kNone},
    {PictureImage4,     "C17", kPictureModePreset, kNone},
    {PictureBlackboard, "C18", kPictureModePreset, kNone},
    {PictureDynamic,    "C19", kPictureModePreset, kNone},
    {StatusQuery,       "CR0", kNoPreset, kNone},
    {LampTimeQuery,     "CR3", kNoPreset, kNone},
    {TemperatureQuery,  "CR6", kNoPreset, kNone},
    {InputQuery,        "CR1", kNoPreset, kNone},
    {ReversalQuery,     "CR4", kNoPreset, kNone},
    {LampModeQuery,     "CR7", kNoPreset, kNone},
    {Pc1Rgb,            "C50", kSignalTypePreset, kNone},
    {Pc1DviPc,          "C52", kSignalTypePreset, kNone},
    {Pc1DviAv,          "C53", kSignalTypePreset, kNone},
    {Pc2Rgb,            "C25", kSignalTypePreset, kNone},
    {Pc2Component,      "C24", kSignalTypePreset, kNone},
    {Pc2Scart,          "C26", kSignalTypePreset, kNone},
    {VideoAuto,         "C32", kSignalTypePreset, kNone},
    {VideoComposite,    "C33", kSignalTypePreset, kNone},
    {VideoSVideo,       "C34", kSignalTypePreset, kNone},
});
// clang-format on

}  // namespace

std::span<const CommandButton> commandButtonTable() {
    return kCommandButtons;
}

void applyPreset(projector::Link& link, const Preset& preset) {
    if (preset.replyTimeout != 0) link.setPacing(preset.replyTimeout, preset.traceClear);
}

CommandButtons::CommandButtons(projector::Link& link, HoldRepeater& repeater)
    : link_(link), repeater_(repeater) {}

void CommandButtons::click(const CommandButton& button) {
    applyPreset(link_, button.preset);
    if (!link_.send(button.code)) return;
    if (button.extra == Extra::ArrowPace) repeater_.paceArrowsForMenu();
}

}  // namespace panel
