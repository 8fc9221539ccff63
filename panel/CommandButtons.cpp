#include "panel/CommandButtons.h"

#include <array>

#include "panel/ControlNames.h"

namespace panel {

namespace {

using namespace names;

constexpr auto kNone = Extra::None;

// clang-format off
constexpr std::array kCommandButtons = std::to_array<CommandButton>({
    // control          command               preset             extra step
    {PowerOn,           "power-on",           kNoPreset,          kNone},
    {PowerOff,          "power-off",          kNoPreset,          kNone},
    {InputPc1,          "input-pc1",          kNoPreset,          kNone},
    {InputPc2,          "input-pc2",          kNoPreset,          kNone},
    {InputVideo,        "input-video",        kNoPreset,          kNone},
    {Wired,             "signal-wired",       kNoPreset,          kNone},
    {Wireless,          "signal-wireless",    kNoPreset,          kNone},
    {SoundMuteOn,       "mute-on",            kNoPreset,          kNone},
    {SoundMuteOff,      "mute-off",           kNoPreset,          kNone},
    {NoShowOn,          "no-show-on",         kNoPreset,          kNone},
    {NoShowOff,         "no-show-off",        kNoPreset,          kNone},
    {FreezeOn,          "freeze-on",          kNoPreset,          kNone},
    {FreezeOff,         "freeze-off",         kNoPreset,          kNone},
    {MenuOn,            "menu-on",            kNoPreset,          Extra::ArrowPace},
    {MenuOff,           "menu-off",           kNoPreset,          kNone},
    {AvRegular,         "size-regular",       kNoPreset,          kNone},
    {AvWide,            "size-wide",          kNoPreset,          kNone},
    {AutoImage,         "auto-image",         kNoPreset,          Extra::ArrowPace},
    {ImageAdjust,       "image",              kNoPreset,          kNone},
    {PresentationTimer, "presentation-timer", kNoPreset,          kNone},
    {DisplayClear,      "display-clear",      kNoPreset,          kNone},
    {KeyLockNone,       "key-lock-none",      kNoPreset,          kNone},
    {KeyLockRemote,     "key-lock-remote",    kNoPreset,          kNone},
    {KeyLockKeys,       "key-lock-keys",      kNoPreset,          kNone},
    {PictureStandard,   "picture-standard",   kPictureModePreset, kNone},
    {PictureReal,       "picture-real",       kPictureModePreset, kNone},
    {PictureCinema,     "picture-cinema",     kPictureModePreset, kNone},
    {PictureImage1,     "picture-image1",     kPictureModePreset, kNone},
    {PictureImage2,     "picture-image2",     kPictureModePreset, kNone},
    {PictureImage3,     "picture-image3",     kPictureModePreset, kNone},
    {PictureImage4,     "picture-image4",     kPictureModePreset, kNone},
    {PictureBlackboard, "picture-blackboard", kPictureModePreset, kNone},
    {PictureDynamic,    "picture-dynamic",    kPictureModePreset, kNone},
    {StatusQuery,       "power-state",        kNoPreset,          kNone},
    {LampTimeQuery,     "lamp-time",          kNoPreset,          kNone},
    {TemperatureQuery,  "temperatures",       kNoPreset,          kNone},
    {InputQuery,        "input-mode",         kNoPreset,          kNone},
    {ReversalQuery,     "image-reversal",     kNoPreset,          kNone},
    {LampModeQuery,     "lamp-mode",          kNoPreset,          kNone},
    {Pc1Rgb,            "pc1-rgb",            kSignalTypePreset,  kNone},
    {Pc1DviPc,          "pc1-dvi-pc",         kSignalTypePreset,  kNone},
    {Pc1DviAv,          "pc1-dvi-av",         kSignalTypePreset,  kNone},
    {Pc2Rgb,            "pc2-rgb",            kSignalTypePreset,  kNone},
    {Pc2Component,      "pc2-component",      kSignalTypePreset,  kNone},
    {Pc2Scart,          "pc2-scart",          kSignalTypePreset,  kNone},
    {VideoAuto,         "video-auto",         kSignalTypePreset,  kNone},
    {VideoComposite,    "video-composite",    kSignalTypePreset,  kNone},
    {VideoSVideo,       "video-s-video",      kSignalTypePreset,  kNone},
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
    if (!link_.send(button.code())) return;
    if (button.extra == Extra::ArrowPace) repeater_.paceArrowsForMenu();
}

}  // namespace panel
