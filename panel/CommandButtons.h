#pragma once
// The single-press buttons: the code each sends, its timer preset and what
// else it does.

#include <span>
#include <string_view>

namespace panel {

struct Preset {
    int replyTimeout = 0;  // Timer2; 0 means no preset
    int traceClear = 0;    // Timer4
};

inline constexpr Preset kNoPreset{};
inline constexpr Preset kPictureModePreset{2000, 2500};
inline constexpr Preset kSignalTypePreset{5000, 5500};

enum class Extra {
    None,
    ArrowPace,         // after sending: Timer1 200, ArrowMode 1
    ShowPortSettings,  // sends nothing: shows Frame8 and starts Timer3
};

struct CommandButton {
    std::string_view control;
    std::string_view code;
    Preset preset;
    Extra extra;
};

std::span<const CommandButton> commandButtonTable();

}  // namespace panel
