#pragma once
// The one window: built from the control table, owner of the panel's
// variables, and the router of every event to its handler.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "link/Link.h"
#include "toolkit/Toolkit.h"

namespace panel {

struct CommandButton;
struct HoldButton;
struct Preset;

// Outer window heights in twips.
inline constexpr int kHeightStart = 5350;
inline constexpr int kHeightData = 6645;
inline constexpr int kHeightExpanded = 7200;
inline constexpr int kHeightFull = 9100;

class Form1 {
  public:
    explicit Form1(toolkit::Toolkit& toolkit);

    // Start-up. Throws toolkit::SerialError when port 1 cannot be opened;
    // the window must then not be shown.
    void Form_Load();

    toolkit::Window& window() { return window_; }
    toolkit::Button& button(std::string_view name) const { return *find(buttons_, name); }
    toolkit::Label& label(std::string_view name) const { return *find(labels_, name); }
    toolkit::Frame& frame(std::string_view name) const { return *find(frames_, name); }
    toolkit::Option& option(std::string_view name) const { return *find(options_, name); }
    toolkit::Timer& timer(std::string_view name) const { return *find(timers_, name); }
    projector::Link& link() { return link_; }
    bool ended() const { return ended_; }

    // The panel's variables.
    std::uint8_t RepeatKey = 0;
    std::uint8_t ArrowMode = 0;
    std::string TypedCommand;
    std::int16_t ExpandFlag = 0;

  private:
    template <typename T>
    using Registry = std::map<std::string, T*, std::less<>>;

    template <typename T>
    static T* find(const Registry<T>& registry, std::string_view name) {
        return registry.find(name)->second;
    }

    // Builds every control; returns the window.
    toolkit::Window& build();
    void route();
    // Runs a handler unless the program has ended. A serial failure is shown
    // in a warning box and ends any hold; the program keeps running.
    void run(const std::function<void()>& handler);
    std::function<void()> guarded(std::function<void()> handler);

    void applyPreset(const Preset& preset);
    void commandClick(const CommandButton& button);
    void holdPress(const HoldButton& button);
    void holdRelease(const HoldButton& button);
    void endHold();
    void Timer1_Timer();
    void Command95_Click();
    void Command96_Click();
    void Command34_Click();
    void Command16_Click();
    void Form_KeyDown(int keyCode, int shift);
    void Image1_DblClick();

    toolkit::Toolkit& toolkit_;
    Registry<toolkit::Button> buttons_;
    Registry<toolkit::Label> labels_;
    Registry<toolkit::Frame> frames_;
    Registry<toolkit::Option> options_;
    Registry<toolkit::TextBox> textBoxes_;
    Registry<toolkit::Image> images_;
    Registry<toolkit::Timer> timers_;
    toolkit::Window& window_;

    toolkit::Timer& Timer1;
    toolkit::Timer& Timer2;
    toolkit::Timer& Timer3;
    toolkit::Timer& Timer4;
    toolkit::Label& Label11;
    toolkit::Label& Label12;
    toolkit::Frame& Frame8;
    toolkit::Button& Command34;
    toolkit::TextBox& Text1;
    projector::Link link_;

    bool ended_ = false;
};

}  // namespace panel
