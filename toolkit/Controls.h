#pragma once
// The operations the panel calls on the window and its controls. The panel
// and the link see nothing else of the toolkit; Qt implements these in
// qt/, the tests implement them with recording fakes.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace toolkit {

using Handler = std::function<void()>;

class Timer {
  public:
    virtual ~Timer() = default;
    // Setting the interval of a running timer restarts its countdown.
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    // Enabling a stopped timer starts its countdown from zero; enabling a
    // running one leaves it running. Disabling discards the countdown.
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
    virtual void onTimer(Handler handler) = 0;
};

class Label {
  public:
    virtual ~Label() = default;
    // Shown as plain text, never as markup. Read back exactly as last set.
    virtual void setCaption(const std::string& utf8) = 0;
    virtual std::string caption() const = 0;
};

class Button {
  public:
    virtual ~Button() = default;
    virtual void setCaption(const std::string& utf8) = 0;
    virtual std::string caption() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool visible() const = 0;
    virtual void onClick(Handler handler) = 0;
    // Any mouse button presses; the release goes to the button that got the
    // press, wherever the pointer is by then.
    virtual void onPress(Handler handler) = 0;
    virtual void onRelease(Handler handler) = 0;
    // Gives the keyboard focus to the button.
    virtual void takeFocus() = 0;
};

class Frame {
  public:
    virtual ~Frame() = default;
    // Hiding a frame hides everything in it.
    virtual void setVisible(bool visible) = 0;
    virtual bool visible() const = 0;
    // Whether the keyboard focus is on a control inside the frame.
    virtual bool holdsFocus() const = 0;
};

class Option {
  public:
    virtual ~Option() = default;
    // Choosing in code an option that was not chosen raises its click, as an
    // operator's choice does.
    virtual void setValue(bool chosen) = 0;
    virtual bool value() const = 0;
    virtual void onClick(Handler handler) = 0;
    // A right-click, or the keyboard's menu key, on the option.
    virtual void onContextMenu(Handler handler) = 0;
    virtual void setToolTip(const std::string& utf8) = 0;
};

class TextBox {
  public:
    virtual ~TextBox() = default;
    virtual void setText(const std::string& utf8) = 0;
    virtual std::string text() const = 0;
};

class Image {
  public:
    virtual ~Image() = default;
    virtual void onDoubleClick(Handler handler) = 0;
};

// Bits of the shift state handed to the key-down handler.
enum ShiftState : int { ShiftMask = 1, CtrlMask = 2, AltMask = 4 };

class Window {
  public:
    virtual ~Window() = default;
    // Outer size and place, frame and title bar included, in twips.
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual void setHeight(int twips) = 0;
    virtual void setLeft(int twips) = 0;
    virtual void setTop(int twips) = 0;
    virtual void setCaption(const std::string& utf8) = 0;
    virtual void show() = 0;
    // Sees every key press before the focused control, which then gets it as
    // usual. The key code is the virtual key code (the letter's upper case).
    virtual void onKeyDown(std::function<void(int keyCode, int shift)> handler) = 0;
    // Raised when the window can no longer expect a pointer release: it was
    // deactivated, or another window or a dialog took the pointer.
    virtual void onPointerLost(Handler handler) = 0;
    // Raised when the window is closed by its frame (the title bar's close
    // button, the window manager); the window then closes.
    virtual void onClose(Handler handler) = 0;
    // Closes the window and ends the program's event loop.
    virtual void unload() = 0;
};

class Screen {
  public:
    virtual ~Screen() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

class MessageBox {
  public:
    virtual ~MessageBox() = default;
    // Modal: exclamation icon, OK button, the application's title.
    virtual void warn(const std::string& utf8) = 0;
    // Closes the warning box that shows exactly this text, if one is open.
    virtual void withdraw(const std::string& utf8) = 0;
    // Modal, critical icon, a button for each choice, the last one also
    // taken when the box is closed otherwise: the index of the choice.
    virtual std::size_t choose(const std::string& utf8,
                               const std::vector<std::string>& choices) = 0;
};

struct MenuItem {
    std::string text;  // UTF-8
    std::string toolTip;
    bool checked = false;
};

class PopUpMenu {
  public:
    virtual ~PopUpMenu() = default;
    // Modal, at the pointer: the index of the item chosen, or nothing when
    // the operator dismissed the menu.
    virtual std::optional<std::size_t> choose(const std::vector<MenuItem>& items) = 0;
};

class PathPrompt {
  public:
    virtual ~PathPrompt() = default;
    // Modal: a path the operator types, completed from the file system as
    // they type; nothing when they cancel.
    virtual std::optional<std::string> ask(const std::string& title, const std::string& label,
                                           const std::string& initial) = 0;
};

}  // namespace toolkit
