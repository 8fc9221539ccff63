#pragma once
// The press-and-hold buttons: a press sends at once and starts Timer1, every
// tick sends the same line again, the release stops it and tidies the trace.
// The four arrows are paced by ArrowMode, which "A-IMAGE", MENU "ON" and the
// release of a D.Zoom button set.

#include <cstdint>
#include <span>
#include <string_view>

#include "link/Link.h"
#include "link/LinkListener.h"
#include "panel/TraceDisplay.h"
#include "toolkit/Controls.h"
#include "vocabulary/Commands.h"

namespace panel {

struct HoldButton {
    const char* control;
    std::uint8_t key;          // the value held in RepeatKey
    bool arrow;                // arrows leave Timer1 alone and pace Timer2/Timer4 by ArrowMode
    int repeat;                // Timer1
    int replyTimeout;          // Timer2
    int traceClear;            // Timer4
    bool zoom;                 // its release makes the arrows fast: Timer1 5, ArrowMode Zoom
    std::string_view command;  // its name in the command catalogue
    std::string_view code() const { return projector::codeOf(command); }
};

std::span<const HoldButton> holdButtonTable();

// How a press of an arrow paces Timer2 and Timer4.
enum class ArrowPace {
    AsLeft,  // at start: the intervals stay as they are
    Menu,    // after "A-IMAGE" or MENU "ON": 150 / 190
    Zoom,    // after a D.Zoom release: 5 / 5
};

class HoldRepeater : public projector::LinkListener {
  public:
    HoldRepeater(projector::Link& link, toolkit::Timer& Timer1, TraceDisplay& trace);

    // MouseDown and MouseUp of a hold button: any mouse button.
    void press(const HoldButton& button);
    void release(const HoldButton& button);
    void Timer1_Timer();

    // After "A-IMAGE" or MENU "ON": the arrows repeat every 200 ms.
    void paceArrowsForMenu();
    // No release will come (the window lost the pointer, or the line could
    // not be sent): the hold ends as if the operator had let go.
    void endHold();

    void sendFailed(const std::string& line, const toolkit::Fault& fault) override;
    void portEvent(const projector::PortEvent& event) override;

  private:
    projector::Link& link_;
    toolkit::Timer& Timer1;
    TraceDisplay& trace_;
    std::uint8_t RepeatKey = 0;
    ArrowPace ArrowMode = ArrowPace::AsLeft;
};

}  // namespace panel
