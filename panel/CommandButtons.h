#pragma once
// The single-press buttons: the code each sends, its timer preset and what
// else it does. One handler serves every row.

#include <span>
#include <string_view>

#include "link/Link.h"
#include "panel/HoldRepeater.h"
#include "panel/Pacing.h"
#include "vocabulary/Commands.h"

namespace panel {

enum class Extra {
    None,
    ArrowPace,  // after sending: the arrows are paced as after MENU "ON"
};

struct CommandButton {
    const char* control;
    std::string_view command;  // its name in the command catalogue
    Pacing preset;             // set before sending
    Extra extra;
    std::string_view code() const { return projector::codeOf(command); }
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

}  // namespace panel
