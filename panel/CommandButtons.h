#pragma once
// The single-press buttons: the code each sends, its timer preset and what
// else it does. One handler serves every row.

#include <span>
#include <string_view>

#include "link/Link.h"
#include "panel/HoldRepeater.h"

namespace panel {

// Timer2 / Timer4 intervals set before sending.
struct Preset {
    int replyTimeout = 0;  // 0 means no preset
    int traceClear = 0;
};

inline constexpr Preset kNoPreset{};
inline constexpr Preset kPictureModePreset{2000, 2500};
inline constexpr Preset kSignalTypePreset{5000, 5500};

enum class Extra {
    None,
    ArrowPace,  // after sending: the arrows repeat every 200 ms at 150 / 190
};

struct CommandButton {
    const char* control;
    std::string_view code;
    Preset preset;
    Extra extra;
    std::string_view name;  // the command's name for scripts: lower-case words and hyphens
};

std::span<const CommandButton> commandButtonTable();

class CommandButtons {
  public:
    CommandButtons(projector::Link& link, HoldRepeater& repeater);

    // The Click handler of every row.
    void click(const CommandButton& button);

  private:
    projector::Link& link_;
    HoldRepeater& repeater_;
};

// Sets the reply time-out and trace-clear delay a preset names, if any.
void applyPreset(projector::Link& link, const Preset& preset);

}  // namespace panel
