#pragma once
// What the window and each control look like and where they stand, as the
// control table gives it. Places and sizes are in twips (15 to a pixel);
// colours are 0xRRGGBB.

#include <string_view>

namespace toolkit {

constexpr int kTwipsPerPixel = 15;
constexpr int kDefaultColour = -1;  // the toolkit's own colour

// Frame and title bar, where the window system reports none (offscreen, no
// window manager): 29 px, the one whole-pixel size for which the start height
// ends just above the trace group and the data height shows all of it.
constexpr int kAssumedFrameTwips = 29 * kTwipsPerPixel;

enum class Kind { Frame, Label, Button, Option, TextBox, Image };
enum class Face { Window, Fixed, Proportional };  // Fixed is "G", Proportional "P"
enum class Align { Left, Centre, Right };

struct Font {
    Face face = Face::Window;
    double points = 0;
    bool bold = false;
};

struct Look {
    int back = kDefaultColour;
    int text = kDefaultColour;
    Font font;
    Align align = Align::Left;
    bool border = false;
};

struct ControlSpec {
    std::string_view name;
    Kind kind;
    std::string_view caption;    // UTF-8
    std::string_view container;  // empty: placed on the window
    int left, top, width, height;
    int tab;  // place in the focus order; -1 for none
    Look look;
    bool hidden = false;
    bool chosen = false;  // options only
    // What assistive technology says the control does, beyond its caption.
    std::string_view description = {};
};

struct LineSpec {
    std::string_view name;
    int x1, y1, x2, y2;
    int colour;
    int pixels;
};

struct TimerSpec {
    std::string_view name;
    int interval;
};

struct WindowSpec {
    std::string_view name;
    std::string_view caption;
    int clientWidth, clientHeight;
    int back;
    Font font;
};

}  // namespace toolkit
