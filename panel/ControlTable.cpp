#include "panel/ControlTable.h"

#include <array>

#include "panel/ControlNames.h"
#include "panel/Pacing.h"

namespace panel {

using namespace names;

using toolkit::Align;
using toolkit::ControlSpec;
using toolkit::Face;
using toolkit::Font;
using toolkit::Kind;
using toolkit::LineSpec;
using toolkit::Look;
using toolkit::TimerSpec;

namespace {

constexpr int kGrey = 0xC0C0C0;
constexpr int kGreen = 0xC0FFC0;
constexpr int kPink = 0xFFC0C0;
constexpr int kCyan = 0xC0FFFF;
constexpr int kLilac = 0xC0C0FF;
constexpr int kPeach = 0xFFE0C0;
constexpr int kApricot = 0xFFC080;
constexpr int kWhite = 0xFFFFFF;

constexpr Font G(double points, bool bold = false) {
    return {Face::Fixed, points, bold};
}
constexpr Font P(double points, bool bold = false) {
    return {Face::Proportional, points, bold};
}
constexpr Font kWindowFont{};

constexpr Look look(int back, Font font = kWindowFont, Align align = Align::Left) {
    return {back, toolkit::kDefaultColour, font, align, false};
}
constexpr Look centred(int back = kGrey, Font font = kWindowFont) {
    return look(back, font, Align::Centre);
}
constexpr Look trace(int text, Font font) {
    return {kWhite, text, font, Align::Left, true};
}

constexpr auto F = Kind::Frame;
constexpr auto L = Kind::Label;
constexpr auto B = Kind::Button;
constexpr auto O = Kind::Option;
constexpr auto T = Kind::TextBox;
constexpr auto I = Kind::Image;

// clang-format off
constexpr std::array kControls = std::to_array<ControlSpec>({
    // Top row: power, input selection, input signal and the picture.
    {PowerGroup,        F, "",                {},               120,  240, 1695,  975,   0, {kGrey, 0x808080, P(9)}},
    {PowerTitle,        L, "POWER",           PowerGroup,       240,  240, 1095,  255,   2, {kGrey, 0xC00000, kWindowFont, Align::Centre}},
    {PowerOn,           B, "ON",              PowerGroup,       120,  600,  615,  300,   1, look(kGreen, P(9, true))},
    {PowerOff,          B, "OFF",             PowerGroup,       960,  600,  615,  300,  27, look(kPink, P(9, true))},
    {InputGroup,        F, "",                {},              1920,  240, 2895,  975,   3, look(kGrey, P(9))},
    {InputTitle,        L, "INPUT MODE SET",  InputGroup,       480,  240, 1935,  255,   4, centred()},
    {InputPc1,          B, "PC1",             InputGroup,       120,  600,  855,  300,  36, look(kCyan, P(9, true))},
    {InputPc2,          B, "PC2",             InputGroup,      1200,  600,  615,  300,  37, look(kCyan, P(9, true))},
    {InputVideo,        B, "Video",           InputGroup,      2040,  600,  735,  300,  38, look(kCyan, P(9, true))},
    {SignalPathGroup,   F, "",                {},              4920,  360, 2415,  855, 102, look(kGrey)},
    {SignalPathTitle,   L, "INPUT SIGNAL",    SignalPathGroup,  240,  240, 1935,  255, 105, centred()},
    {Wired,             B, "WIRED",           SignalPathGroup,  120,  480,  855,  255, 103, look(kCyan, G(9))},
    {Wireless,          B, "WIRELESS",        SignalPathGroup, 1320,  480,  975,  255, 104, look(kCyan, G(9))},
    {Picture,           I, "",                {},              8160,  120, 1200,  390,  -1, look(toolkit::kDefaultColour)},

    // Second row: five on/off or two-way groups.
    {SoundMuteGroup,    F, "",                {},               120, 1440, 1695,  855,   8, look(kGrey, P(9))},
    {SoundMuteTitle,    L, "SOUND MUTE",      SoundMuteGroup,   120,  195, 1455,  300,   9, centred()},
    {SoundMuteOn,       B, "ON",              SoundMuteGroup,   120,  480,  615,  300,  28, look(kGreen, P(9, true))},
    {SoundMuteOff,      B, "OFF",             SoundMuteGroup,   960,  480,  615,  300,  29, look(kPink, P(9, true))},
    {NoShowGroup,       F, "",                {},              1920, 1440, 1695,  855,  10, look(kGrey, P(9))},
    {NoShowTitle,       L, "NO SHOW",         NoShowGroup,      360,  210, 1095,  285,  11, centred()},
    {NoShowOn,          B, "ON",              NoShowGroup,      120,  480,  615,  300,  30, look(kGreen, P(9, true))},
    {NoShowOff,         B, "OFF",             NoShowGroup,      960,  480,  615,  300,  31, look(kPink, P(9, true))},
    {FreezeGroup,       F, "",                {},              3720, 1440, 1695,  855,  22, look(kGrey, P(9))},
    {FreezeTitle,       L, "FREEZE",          FreezeGroup,      240,  210, 1215,  285,  23, centred()},
    {FreezeOn,          B, "ON",              FreezeGroup,      120,  480,  615,  300,  34, look(kGreen, P(9, true))},
    {FreezeOff,         B, "OFF",             FreezeGroup,      960,  480,  615,  300,  35, look(kPink, P(9, true))},
    {MenuGroup,         F, "",                {},              5640, 1440, 1695,  855,  14, look(kGrey, P(9))},
    {MenuTitle,         L, "MENU",            MenuGroup,        360,  240,  975,  255,  15, centred()},
    {MenuOn,            B, "ON",              MenuGroup,        120,  480,  615,  300,  32, look(kGreen, P(9, true))},
    {MenuOff,           B, "OFF",             MenuGroup,        960,  480,  615,  300,  33, look(kPink, P(9, true))},
    {AvSizeGroup,       F, "",                {},              7440, 1440, 1815,  855,  12, look(kGrey, P(9))},
    {AvSizeTitle,       L, "AV Size",         AvSizeGroup,      240,  210, 1335,  285,  13, centred()},
    {AvRegular,         B, "Regular",         AvSizeGroup,      120,  480,  855,  300,  39, look(kCyan, P(9))},
    {AvWide,            B, "Wide",            AvSizeGroup,     1080,  480,  615,  300,  40, look(kCyan, P(9))},

    // Cursor keys.
    {CursorUp,          B, "↑",               {},              1200, 2520,  855,  375,  17, look(kPeach, P(9, true))},
    {CursorLeft,        B, "←",               {},               240, 3000,  855,  375,  21, look(kPeach, P(9, true))},
    {Select,            B, "SELECT",          {},              1200, 3000,  855,  375,  18, look(0xFF8000, G(9))},
    {CursorRight,       B, "→",               {},              2160, 3000,  855,  375,  20, look(kPeach, P(9, true))},
    {CursorDown,        B, "↓",               {},              1200, 3480,  855,  375,  19, look(kPeach, P(9, true))},

    // Adjusters.
    {VolumeTitle,       L, "VOL",             {},              3600, 2520,  495,  255,   7, centred()},
    {VolumeUp,          B, "+",               {},              3600, 2880,  375,  255,   5, look(kApricot)},
    {VolumeDown,        B, "-",               {},              3600, 3240,  375,  255,   6, look(kApricot)},
    {BrightnessTitle,   L, "Brightness",      {},              4560, 2520,  975,  255,  53, look(kGrey, G(9))},
    {BrightnessUp,      B, "+",               {},              4800, 2880,  375,  255,  51, look(kCyan, G(9))},
    {BrightnessDown,    B, "-",               {},              4800, 3240,  375,  255,  52, look(kCyan, G(9))},
    {ZoomTitle,         L, "D.Zoom",          {},              6360, 2520,  735,  255,  60, look(kGrey, G(9))},
    {ZoomUp,            B, "+",               {},              6480, 2880,  375,  255,  58, look(kCyan, P(9))},
    {ZoomDown,          B, "-",               {},              6480, 3240,  375,  255,  59, look(kCyan, G(9))},
    {KeystoneTitle,     L, "Keystone",        {},              7320, 2520,  855,  255,  63, look(kGrey, G(9))},
    {KeystoneUp,        B, "+",               {},              7440, 2880,  375,  255,  61, look(kCyan, G(9))},
    {KeystoneDown,      B, "-",               {},              7440, 3240,  375,  255,  62, look(kCyan, G(9))},

    // Right-hand column.
    {AutoImage,         B, "A-IMAGE",         {},              8400, 2760,  975,  250,  24, look(0x00C0C0, G(9))},
    {ImageAdjust,       B, "IMAGE",           {},              8400, 3120,  975,  255,  69, look(kLilac, G(9))},
    {PresentationTimer, B, "P-TIMER",         {},              8400, 3360,  975,  250,  25, look(kLilac, G(9))},
    {DisplayClear,      B, "DISPLAY CLEAR",   {},              8400, 3600,  975,  492,  16, look(kLilac, G(9))},
    {End,               B, "END",             {},              8400, 4320,  975,  375,  26, look(kGrey)},

    // Remote-control key lock.
    {KeyLockTitle,      L, "R/C KEY OFF",     {},              6600, 3720, 1332,  252,  68, look(kGrey, G(9))},
    {KeyLockNone,       B, "NONE",            {},              6600, 3960, 1200,  372,  65, look(kCyan, G(9))},
    {KeyLockRemote,     B, "R/C",             {},              6600, 4320,  606,  372,  66, look(kCyan, G(9))},
    {KeyLockKeys,       B, "KEY",             {},              7200, 4320,  606,  372,  67, look(kCyan, G(9))},

    // Picture modes.
    {PictureStandard,   B, "STAND",           {},               240, 4080,  975,  255,  73, look(kCyan, G(9))},
    {PictureReal,       B, "REAL",            {},              1200, 4080,  975,  255,  74, look(kCyan, G(9))},
    {PictureCinema,     B, "CINEMA",          {},              2160, 4080,  975,  255,  75, look(kCyan, G(9))},
    {PictureImage1,     B, "IMAGE1",          {},               240, 4320,  975,  255,  76, look(kCyan, G(9))},
    {PictureImage2,     B, "IMAGE2",          {},              1200, 4320,  975,  255,  77, look(kCyan, G(9))},
    {PictureImage3,     B, "IMAGE3",          {},              2160, 4320,  975,  255,  78, look(kCyan, G(9))},
    {PictureImage4,     B, "IMAGE4",          {},               240, 4560,  975,  255,  79, look(kCyan, G(9))},
    {PictureBlackboard, B, "B.Board",         {},              1200, 4560,  975,  255, 100, look(kCyan, G(9))},
    {PictureDynamic,    B, "Dynamic",         {},              2160, 4560,  975,  255, 101, look(kCyan, G(9))},

    // Port settings. Frame8 comes after Command33 so that it lies on top of it.
    {Com,               B, "COM",             {},              4080, 4200, 1815,  375,  41, look(toolkit::kDefaultColour, P(9))},
    {PortSettings,      F, "",                {},              3480, 3600, 2775, 1185,  42, look(kGrey, P(9)), true},
    {Com1,              O, "COM1",            PortSettings,     240,  240, 1215,  255,  43, look(kGrey)},
    {Com2,              O, "COM2",            PortSettings,    1560,  240, 1095,  255,  44, look(kGrey)},
    {SpeedGroup,        F, "",                PortSettings,     120,  480, 2535,  615,  70, look(kGrey)},
    {Speed19200,        O, "19200",           SpeedGroup,       120,  240, 1095,  255,  71, look(kGrey), false, true},
    {Speed9600,         O, "9600",            SpeedGroup,      1440,  240,  975,  300,  72, look(kGrey)},

    // Status queries and the data-display toggle.
    {StatusQuery,       B, "STATUS",          {},              6480, 5640,  975,  255,  54, look(kCyan, G(8.25, true))},
    {LampTimeQuery,     B, "L-TIME",          {},              7440, 5640,  975,  255,  56, look(kCyan, G(8.25, true))},
    {TemperatureQuery,  B, "TEMP",            {},              8400, 5640,  975,  252,  64, look(kCyan, G(8.25, true))},
    {InputQuery,        B, "MODE",            {},              6480, 5880,  975,  255,  55, look(kCyan, G(8.25, true))},
    {ReversalQuery,     B, "SETTING",         {},              7440, 5880,  975,  255,  57, look(kCyan, G(8.25, true))},
    {LampModeQuery,     B, "L-MODE",          {},              8400, 5880,  975,  255, 106, look(kCyan, G(8.25, true))},
    {DataToggle,        B, "データを表示する",        {},              6600, 5040, 1200,  375,  50, look(kGrey, P(9)), true},

    // Traffic trace.
    {TraceGroup,        F, "",                {},                45, 4920, 6312, 1290,  45, look(kGrey, P(9))},
    {SentTitle,         L, "TXD",             TraceGroup,       105,  210,  390,  285,  46, look(kGrey, G(9), Align::Right)},
    {SentTrace,         L, "",                TraceGroup,       600,  180, 5610,  300,  48, trace(toolkit::kDefaultColour, P(9.75, true))},
    {ReceivedTitle,     L, "RXD",             TraceGroup,        75,  555,  450,  300,  47, look(kGrey, G(9), Align::Right)},
    {ReceivedTrace,     L, "",                TraceGroup,       600,  540, 5616,  300,  49, trace(toolkit::kDefaultColour, P(9.75, true))},
    {StatusTitle,       L, "STATUS",          TraceGroup,       120,  960,  735,  225,  99, look(kGrey, G(8.25))},
    {StatusText,        L, "",                TraceGroup,       930,  915, 5295,  300,  98, trace(0xFF0000, P(9, true))},

    // Signal type per input.
    {SignalTypeGroup,   F, "",                {},               120, 6735, 5775, 1200,  80, look(kGrey)},
    {Pc1SignalTitle,    L, "PC1",             SignalTypeGroup,  120,  240,  735,  255,  90, look(kGrey)},
    {Pc1Rgb,            B, "RGB",             SignalTypeGroup,  960,  240,  975,  255,  81, look(kCyan, G(9))},
    {Pc1DviPc,          B, "DVI(PC Digital)", SignalTypeGroup, 1920,  240, 1815,  255,  82, look(kCyan, G(9))},
    {Pc1DviAv,          B, "DVI(AV HDCP)",    SignalTypeGroup, 3720,  240, 1815,  255,  83, look(kCyan, G(9))},
    {Pc2SignalTitle,    L, "PC2",             SignalTypeGroup,  120,  480,  735,  255,  91, look(kGrey)},
    {Pc2Rgb,            B, "RGB",             SignalTypeGroup,  960,  480,  975,  255,  85, look(kCyan, G(9))},
    {Pc2Component,      B, "Component",       SignalTypeGroup, 1920,  480, 1450,  255,  87, look(kCyan, G(9))},
    {Pc2Scart,          B, "Scart",           SignalTypeGroup, 3360,  480,  975,  255,  86, look(kCyan, G(9))},
    {VideoSignalTitle,  L, "Video",           SignalTypeGroup,  120,  720,  855,  255,  92, look(kGrey)},
    {VideoAuto,         B, "Auto",            SignalTypeGroup,  960,  720,  975,  255,  88, look(kCyan, G(9))},
    {VideoComposite,    B, "Video",           SignalTypeGroup, 1920,  720,  975,  255,  89, look(kCyan, G(9))},
    {VideoSVideo,       B, "S-Video",         SignalTypeGroup, 2880,  720, 1095,  255,  84, look(kCyan, G(9))},

    // Direct command entry.
    {EntryGroup,        F, "",                {},               120, 8040, 7215,  570,  93, look(kGrey)},
    {EntryTitle,        L, "CMD",             EntryGroup,       120,  240,  495,  255,  97, look(kGrey, G(9.75))},
    {CommandText,       T, "",                EntryGroup,       600,  165, 5055,  345,  94, look(toolkit::kDefaultColour, G(9.75, true))},
    {Send,              B, "SEND",            EntryGroup,      5760,  240,  735,  255,  95, look(kGreen)},
    {ClearText,         B, "CLS",             EntryGroup,      6480,  240,  615,  255,  96, look(kPink)},
});

constexpr int kLineColour = 0x8080FF;
constexpr std::array kLines = std::to_array<LineSpec>({
    {"Line1",  1080, 2400, 1080, 2880, kLineColour, 2},
    {"Line2",  2160, 2400, 2160, 2880, kLineColour, 2},
    {"Line3",  3120, 2880, 3120, 3480, kLineColour, 2},
    {"Line4",  2160, 3480, 2160, 3960, kLineColour, 2},
    {"Line5",  1080, 3480, 1080, 3960, kLineColour, 2},
    {"Line6",   120, 2880,  120, 3480, kLineColour, 2},
    {"Line7",  1080, 2400, 2160, 2400, kLineColour, 2},
    {"Line8",   120, 2880, 1080, 2880, kLineColour, 2},
    {"Line9",  2160, 2880, 3120, 2880, kLineColour, 2},
    {"Line10",  120, 3480, 1080, 3480, kLineColour, 2},
    {"Line11", 1080, 3960, 2160, 3960, kLineColour, 2},
    {"Line12", 2160, 3480, 3120, 3480, kLineColour, 2},
});

constexpr std::array kDescriptions = std::to_array<Description>({
    {PowerOn,           "Power on"},
    {PowerOff,          "Power off"},
    {InputPc1,          "Input: PC1"},
    {InputPc2,          "Input: PC2"},
    {InputVideo,        "Input: Video"},
    {Wired,             "Input signal: wired"},
    {Wireless,          "Input signal: wireless"},
    {SoundMuteOn,       "Sound mute on"},
    {SoundMuteOff,      "Sound mute off"},
    {NoShowOn,          "No show on: the picture is blanked"},
    {NoShowOff,         "No show off"},
    {FreezeOn,          "Freeze on"},
    {FreezeOff,         "Freeze off"},
    {MenuOn,            "Menu on: the arrows then move in the menu"},
    {MenuOff,           "Menu off"},
    {AvRegular,         "AV size: regular"},
    {AvWide,            "AV size: wide"},
    {CursorUp,          "Cursor up: repeats while held"},
    {CursorLeft,        "Cursor left: repeats while held"},
    {Select,            "Cursor select: repeats while held"},
    {CursorRight,       "Cursor right: repeats while held"},
    {CursorDown,        "Cursor down: repeats while held"},
    {VolumeUp,          "Volume up: repeats while held"},
    {VolumeDown,        "Volume down: repeats while held"},
    {BrightnessUp,      "Brightness up: repeats while held"},
    {BrightnessDown,    "Brightness down: repeats while held"},
    {ZoomUp,            "Digital zoom in: repeats while held"},
    {ZoomDown,          "Digital zoom out: repeats while held"},
    {KeystoneUp,        "Keystone up: repeats while held"},
    {KeystoneDown,      "Keystone down: repeats while held"},
    {AutoImage,         "Automatic image adjustment"},
    {PresentationTimer, "Presentation timer"},
    {End,               "Close the port and end the panel"},
    {KeyLockNone,       "Remote-control key lock: none"},
    {KeyLockRemote,     "Remote-control key lock: the remote control's keys"},
    {KeyLockKeys,       "Remote-control key lock: the projector's keys"},
    {Com,               "Show the port and speed settings"},
    {StatusQuery,       "Ask for the power state"},
    {LampTimeQuery,     "Ask for the lamp hours"},
    {TemperatureQuery,  "Ask for the temperatures"},
    {InputQuery,        "Ask for the input in use"},
    {ReversalQuery,     "Ask for the image reversal"},
    {LampModeQuery,     "Ask for the lamp mode"},
    {DataToggle,        "Show or hide the traffic trace"},
    {Pc1Rgb,            "PC1: RGB signal"},
    {Pc1DviPc,          "PC1: DVI signal from a computer"},
    {Pc1DviAv,          "PC1: DVI signal from AV equipment, HDCP"},
    {Pc2Rgb,            "PC2: RGB signal"},
    {Pc2Component,      "PC2: component signal"},
    {Pc2Scart,          "PC2: SCART signal"},
    {VideoAuto,         "Video: signal type found automatically"},
    {VideoComposite,    "Video: composite video signal"},
    {VideoSVideo,       "Video: S-Video signal"},
    {Send,              "Send the typed command"},
    {ClearText,         "Empty the typed command"},
});

constexpr std::array kTimers = std::to_array<TimerSpec>({
    {RepeatTimer, kDesignRepeatMs}, {ReplyTimeout, kDesignPacing.replyTimeout},
    {SettingsAutoHide, kSettingsAutoHideMs}, {TraceClear, kDesignPacing.traceClear},
    {SpareTimer, kSpareTimerMs},
});
// clang-format on

}  // namespace

const toolkit::WindowSpec kForm1{
    Window, "ORVA   KR60P   CONTROL   Ver.1.40", 9495, 8730, kGrey, G(9, true),
};

std::span<const ControlSpec> controlTable() {
    return kControls;
}
std::span<const LineSpec> lineTable() {
    return kLines;
}
std::span<const TimerSpec> timerTable() {
    return kTimers;
}
std::span<const Description> descriptionTable() {
    return kDescriptions;
}

}  // namespace panel
