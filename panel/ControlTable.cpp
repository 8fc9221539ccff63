#include "panel/ControlTable.h"

#include <array>

namespace panel {

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

// clang-format off
constexpr std::array kControls = std::to_array<ControlSpec>({
    // Top row: power, input selection, input signal and the picture.
    {"Frame1",    F, "",               "",        120,  240, 1695,  975,   0, {kGrey, 0x808080, P(9)}},
    {"Label1",    L, "POWER",          "Frame1",  240,  240, 1095,  255,   2, {kGrey, 0xC00000, kWindowFont, Align::Centre}},
    {"Command17", B, "ON",             "Frame1",  120,  600,  615,  300,   1, look(kGreen, P(9, true))},
    {"Command18", B, "OFF",            "Frame1",  960,  600,  615,  300,  27, look(kPink, P(9, true))},
    {"Frame2",    F, "",               "",       1920,  240, 2895,  975,   3, look(kGrey, P(9))},
    {"Label2",    L, "INPUT MODE SET", "Frame2",  480,  240, 1935,  255,   4, centred()},
    {"Command27", B, "PC1",            "Frame2",  120,  600,  855,  300,  36, look(kCyan, P(9, true))},
    {"Command28", B, "PC2",            "Frame2", 1200,  600,  615,  300,  37, look(kCyan, P(9, true))},
    {"Command29", B, "Video",          "Frame2", 2040,  600,  735,  300,  38, look(kCyan, P(9, true))},
    {"Frame10",   F, "",               "",       4920,  360, 2415,  855, 102, look(kGrey)},
    {"Label14",   L, "INPUT SIGNAL",   "Frame10", 240,  240, 1935,  255, 105, centred()},
    {"Command37", B, "WIRED",          "Frame10", 120,  480,  855,  255, 103, look(kCyan, G(9))},
    {"Command38", B, "WIRELESS",       "Frame10",1320,  480,  975,  255, 104, look(kCyan, G(9))},
    {"Image1",    Kind::Image, "",     "",       8160,  120, 1200,  390,  -1, look(toolkit::kDefaultColour)},

    // Second row: five on/off or two-way groups.
    {"Frame3",    F, "",               "",        120, 1440, 1695,  855,   8, look(kGrey, P(9))},
    {"Label4",    L, "SOUND MUTE",     "Frame3",  120,  195, 1455,  300,   9, centred()},
    {"Command19", B, "ON",             "Frame3",  120,  480,  615,  300,  28, look(kGreen, P(9, true))},
    {"Command20", B, "OFF",            "Frame3",  960,  480,  615,  300,  29, look(kPink, P(9, true))},
    {"Frame4",    F, "",               "",       1920, 1440, 1695,  855,  10, look(kGrey, P(9))},
    {"Label5",    L, "NO SHOW",        "Frame4",  360,  210, 1095,  285,  11, centred()},
    {"Command21", B, "ON",             "Frame4",  120,  480,  615,  300,  30, look(kGreen, P(9, true))},
    {"Command22", B, "OFF",            "Frame4",  960,  480,  615,  300,  31, look(kPink, P(9, true))},
    {"Frame7",    F, "",               "",       3720, 1440, 1695,  855,  22, look(kGrey, P(9))},
    {"Label8",    L, "FREEZE",         "Frame7",  240,  210, 1215,  285,  23, centred()},
    {"Command25", B, "ON",             "Frame7",  120,  480,  615,  300,  34, look(kGreen, P(9, true))},
    {"Command26", B, "OFF",            "Frame7",  960,  480,  615,  300,  35, look(kPink, P(9, true))},
    {"Frame6",    F, "",               "",       5640, 1440, 1695,  855,  14, look(kGrey, P(9))},
    {"Label7",    L, "MENU",           "Frame6",  360,  240,  975,  255,  15, centred()},
    {"Command23", B, "ON",             "Frame6",  120,  480,  615,  300,  32, look(kGreen, P(9, true))},
    {"Command24", B, "OFF",            "Frame6",  960,  480,  615,  300,  33, look(kPink, P(9, true))},
    {"Frame5",    F, "",               "",       7440, 1440, 1815,  855,  12, look(kGrey, P(9))},
    {"Label6",    L, "AV Size",        "Frame5",  240,  210, 1335,  285,  13, centred()},
    {"Command31", B, "Regular",        "Frame5",  120,  480,  855,  300,  39, look(kCyan, P(9))},
    {"Command32", B, "Wide",           "Frame5", 1080,  480,  615,  300,  40, look(kCyan, P(9))},

    // Cursor keys.
    {"Command5",  B, "↑",              "",       1200, 2520,  855,  375,  17, look(kPeach, P(9, true))},
    {"Command9",  B, "←",              "",        240, 3000,  855,  375,  21, look(kPeach, P(9, true))},
    {"Command6",  B, "SELECT",         "",       1200, 3000,  855,  375,  18, look(0xFF8000, G(9))},
    {"Command8",  B, "→",              "",       2160, 3000,  855,  375,  20, look(kPeach, P(9, true))},
    {"Command7",  B, "↓",              "",       1200, 3480,  855,  375,  19, look(kPeach, P(9, true))},

    // Adjusters.
    {"Label3",    L, "VOL",            "",       3600, 2520,  495,  255,   7, centred()},
    {"Command1",  B, "+",              "",       3600, 2880,  375,  255,   5, look(kApricot)},
    {"Command2",  B, "-",              "",       3600, 3240,  375,  255,   6, look(kApricot)},
    {"Label13",   L, "Brightness",     "",       4560, 2520,  975,  255,  53, look(kGrey, G(9))},
    {"Command15", B, "+",              "",       4800, 2880,  375,  255,  51, look(kCyan, G(9))},
    {"Command35", B, "-",              "",       4800, 3240,  375,  255,  52, look(kCyan, G(9))},
    {"Label17",   L, "D.Zoom",         "",       6360, 2520,  735,  255,  60, look(kGrey, G(9))},
    {"Command48", B, "+",              "",       6480, 2880,  375,  255,  58, look(kCyan, P(9))},
    {"Command49", B, "-",              "",       6480, 3240,  375,  255,  59, look(kCyan, G(9))},
    {"Label18",   L, "Keystone",       "",       7320, 2520,  855,  255,  63, look(kGrey, G(9))},
    {"Command50", B, "+",              "",       7440, 2880,  375,  255,  61, look(kCyan, G(9))},
    {"Command51", B, "-",              "",       7440, 3240,  375,  255,  62, look(kCyan, G(9))},

    // Right-hand column.
    {"Command13", B, "A-IMAGE",        "",       8400, 2760,  975,  250,  24, look(0x00C0C0, G(9))},
    {"Command30", B, "IMAGE",          "",       8400, 3120,  975,  255,  69, look(kLilac, G(9))},
    {"Command14", B, "P-TIMER",        "",       8400, 3360,  975,  250,  25, look(kLilac, G(9))},
    {"Command3",  B, "DISPLAY CLEAR",  "",       8400, 3600,  975,  492,  16, look(kLilac, G(9))},
    {"Command16", B, "END",            "",       8400, 4320,  975,  375,  26, look(kGrey)},

    // Remote-control key lock.
    {"Label19",   L, "R/C KEY OFF",    "",       6600, 3720, 1332,  252,  68, look(kGrey, G(9))},
    {"Command56", B, "NONE",           "",       6600, 3960, 1200,  372,  65, look(kCyan, G(9))},
    {"Command57", B, "R/C",            "",       6600, 4320,  606,  372,  66, look(kCyan, G(9))},
    {"Command58", B, "KEY",            "",       7200, 4320,  606,  372,  67, look(kCyan, G(9))},

    // Picture modes.
    {"Command4",  B, "STAND",          "",        240, 4080,  975,  255,  73, look(kCyan, G(9))},
    {"Command10", B, "REAL",           "",       1200, 4080,  975,  255,  74, look(kCyan, G(9))},
    {"Command11", B, "CINEMA",         "",       2160, 4080,  975,  255,  75, look(kCyan, G(9))},
    {"Command39", B, "IMAGE1",         "",        240, 4320,  975,  255,  76, look(kCyan, G(9))},
    {"Command40", B, "IMAGE2",         "",       1200, 4320,  975,  255,  77, look(kCyan, G(9))},
    {"Command41", B, "IMAGE3",         "",       2160, 4320,  975,  255,  78, look(kCyan, G(9))},
    {"Command42", B, "IMAGE4",         "",        240, 4560,  975,  255,  79, look(kCyan, G(9))},
    {"Command12", B, "B.Board",        "",       1200, 4560,  975,  255, 100, look(kCyan, G(9))},
    {"Command36", B, "Dynamic",        "",       2160, 4560,  975,  255, 101, look(kCyan, G(9))},

    // Port settings. Frame8 comes after Command33 so that it lies on top of it.
    {"Command33", B, "COM",            "",       4080, 4200, 1815,  375,  41, look(toolkit::kDefaultColour, P(9))},
    {"Frame8",    F, "",               "",       3480, 3600, 2775, 1185,  42, look(kGrey, P(9)), true},
    {"Option1",   O, "COM1",           "Frame8",  240,  240, 1215,  255,  43, look(kGrey)},
    {"Option2",   O, "COM2",           "Frame8", 1560,  240, 1095,  255,  44, look(kGrey)},
    {"Frame13",   F, "",               "Frame8",  120,  480, 2535,  615,  70, look(kGrey)},
    {"Option9",   O, "19200",          "Frame13", 120,  240, 1095,  255,  71, look(kGrey), false, true},
    {"Option10",  O, "9600",           "Frame13",1440,  240,  975,  300,  72, look(kGrey)},

    // Status queries and the data-display toggle.
    {"Command44", B, "STATUS",         "",       6480, 5640,  975,  255,  54, look(kCyan, G(8.25, true))},
    {"Command46", B, "L-TIME",         "",       7440, 5640,  975,  255,  56, look(kCyan, G(8.25, true))},
    {"Command54", B, "TEMP",           "",       8400, 5640,  975,  252,  64, look(kCyan, G(8.25, true))},
    {"Command45", B, "MODE",           "",       6480, 5880,  975,  255,  55, look(kCyan, G(8.25, true))},
    {"Command47", B, "SETTING",        "",       7440, 5880,  975,  255,  57, look(kCyan, G(8.25, true))},
    {"Command52", B, "L-MODE",         "",       8400, 5880,  975,  255, 106, look(kCyan, G(8.25, true))},
    {"Command34", B, "データを表示する", "",     6600, 5040, 1200,  375,  50, look(kGrey, P(9)), true},

    // Traffic trace.
    {"Frame9",    F, "",               "",         45, 4920, 6312, 1290,  45, look(kGrey, P(9))},
    {"Label9",    L, "TXD",            "Frame9",  105,  210,  390,  285,  46, look(kGrey, G(9), Align::Right)},
    {"Label11",   L, "",               "Frame9",  600,  180, 5610,  300,  48, trace(toolkit::kDefaultColour, P(9.75, true))},
    {"Label10",   L, "RXD",            "Frame9",   75,  555,  450,  300,  47, look(kGrey, G(9), Align::Right)},
    {"Label12",   L, "",               "Frame9",  600,  540, 5616,  300,  49, trace(toolkit::kDefaultColour, P(9.75, true))},
    {"Label23",   L, "STATUS",         "Frame9",  120,  960,  735,  225,  99, look(kGrey, G(8.25))},
    {"Label22",   L, "",               "Frame9",  930,  915, 5295,  300,  98, trace(0xFF0000, P(9, true))},

    // Signal type per input.
    {"Frame14",   F, "",               "",        120, 6735, 5775, 1200,  80, look(kGrey)},
    {"Label15",   L, "PC1",            "Frame14", 120,  240,  735,  255,  90, look(kGrey)},
    {"Command64", B, "RGB",            "Frame14", 960,  240,  975,  255,  81, look(kCyan, G(9))},
    {"Command65", B, "DVI(PC Digital)","Frame14",1920,  240, 1815,  255,  82, look(kCyan, G(9))},
    {"Command66", B, "DVI(AV HDCP)",   "Frame14",3720,  240, 1815,  255,  83, look(kCyan, G(9))},
    {"Label16",   L, "PC2",            "Frame14", 120,  480,  735,  255,  91, look(kGrey)},
    {"Command72", B, "RGB",            "Frame14", 960,  480,  975,  255,  85, look(kCyan, G(9))},
    {"Command74", B, "Component",      "Frame14",1920,  480, 1450,  255,  87, look(kCyan, G(9))},
    {"Command73", B, "Scart",          "Frame14",3360,  480,  975,  255,  86, look(kCyan, G(9))},
    {"Label24",   L, "Video",          "Frame14", 120,  720,  855,  255,  92, look(kGrey)},
    {"Command81", B, "Auto",           "Frame14", 960,  720,  975,  255,  88, look(kCyan, G(9))},
    {"Command82", B, "Video",          "Frame14",1920,  720,  975,  255,  89, look(kCyan, G(9))},
    {"Command69", B, "S-Video",        "Frame14",2880,  720, 1095,  255,  84, look(kCyan, G(9))},

    // Direct command entry.
    {"Frame15",   F, "",               "",        120, 8040, 7215,  570,  93, look(kGrey)},
    {"Label26",   L, "CMD",            "Frame15", 120,  240,  495,  255,  97, look(kGrey, G(9.75))},
    {"Text1",     Kind::TextBox, "",   "Frame15", 600,  165, 5055,  345,  94, look(toolkit::kDefaultColour, G(9.75, true))},
    {"Command95", B, "SEND",           "Frame15",5760,  240,  735,  255,  95, look(kGreen)},
    {"Command96", B, "CLS",            "Frame15",6480,  240,  615,  255,  96, look(kPink)},
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

constexpr std::array kTimers = std::to_array<TimerSpec>({
    {"Timer1", 200}, {"Timer2", 500}, {"Timer3", 5000}, {"Timer4", 1000}, {"Timer5", 2000},
});
// clang-format on

}  // namespace

const toolkit::WindowSpec kForm1{
    "Form1", "ORVA   KR60P   CONTROL   Ver.1.40", 9495, 8730, kGrey, G(9, true),
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

}  // namespace panel
