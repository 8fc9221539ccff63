#pragma once
// A toolkit of recording objects and a virtual clock: the whole panel runs
// without a display and without waiting for real time.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Toolkit.h"

namespace fake {

class Clock;

class Timer : public toolkit::Timer {
  public:
    Timer(Clock& clock, int interval) : clock_(clock), interval_(interval) {}
    void setInterval(int milliseconds) override;
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return enabled_; }
    void onTimer(toolkit::Handler handler) override { handler_ = std::move(handler); }

  private:
    friend class Clock;
    void arm();
    Clock& clock_;
    int interval_;
    bool enabled_ = false;
    std::int64_t due_ = 0;
    std::uint64_t armed_ = 0;  // orders timers due at the same moment
    toolkit::Handler handler_;
};

// Fires enabled timers in deadline order as a test moves time on.
class Clock {
  public:
    std::int64_t now() const { return now_; }
    void advance(std::int64_t milliseconds);
    void add(Timer* timer) { timers_.push_back(timer); }
    std::uint64_t nextSequence() { return ++sequence_; }

  private:
    std::int64_t now_ = 0;
    std::uint64_t sequence_ = 0;
    std::vector<Timer*> timers_;
};

class Label : public toolkit::Label {
  public:
    void setCaption(const std::string& utf8) override { caption_ = utf8; }
    std::string caption() const override { return caption_; }

  private:
    std::string caption_;
};

class Button : public toolkit::Button {
  public:
    explicit Button(std::string caption) : caption_(std::move(caption)) {}
    void setCaption(const std::string& utf8) override { caption_ = utf8; }
    std::string caption() const override { return caption_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool visible() const override { return visible_; }
    void onClick(toolkit::Handler handler) override { click_ = std::move(handler); }
    void onPress(toolkit::Handler handler) override { press_ = std::move(handler); }
    void onRelease(toolkit::Handler handler) override { release_ = std::move(handler); }
    void takeFocus() override { focused_ = true; }
    bool focused() const { return focused_; }

    // What the operator does.
    void click() {
        if (click_) click_();
    }
    void press() {
        if (press_) press_();
    }
    void release() {
        if (release_) release_();
    }

  private:
    std::string caption_;
    bool visible_ = true;
    bool focused_ = false;
    toolkit::Handler click_, press_, release_;
};

class Frame : public toolkit::Frame {
  public:
    void setVisible(bool visible) override { visible_ = visible; }
    bool visible() const override { return visible_; }
    bool holdsFocus() const override { return holdsFocus_; }
    // The operator moved the focus into the frame, or out of it.
    void focusInside(bool inside) { holdsFocus_ = inside; }

  private:
    bool visible_ = true;
    bool holdsFocus_ = false;
};

class Option : public toolkit::Option {
  public:
    Option(Option*& groupChosen) : groupChosen_(groupChosen) {}
    void setValue(bool chosen) override;
    bool value() const override { return groupChosen_ == this; }
    void onClick(toolkit::Handler handler) override { click_ = std::move(handler); }
    void onContextMenu(toolkit::Handler handler) override { contextMenu_ = std::move(handler); }
    void setToolTip(const std::string& utf8) override { toolTip_ = utf8; }
    void click();  // the operator's choice
    void rightClick() {
        if (contextMenu_) contextMenu_();
    }
    const std::string& toolTip() const { return toolTip_; }

  private:
    Option*& groupChosen_;
    toolkit::Handler click_, contextMenu_;
    std::string toolTip_;
};

class TextBox : public toolkit::TextBox {
  public:
    void setText(const std::string& utf8) override { text_ = utf8; }
    std::string text() const override { return text_; }

  private:
    std::string text_;
};

class Image : public toolkit::Image {
  public:
    void onDoubleClick(toolkit::Handler handler) override { doubleClick_ = std::move(handler); }
    void doubleClick() {
        if (doubleClick_) doubleClick_();
    }

  private:
    toolkit::Handler doubleClick_;
};

class Window : public toolkit::Window {
  public:
    Window(int width, int height) : width_(width), height_(height) {}
    int width() const override { return width_; }
    int height() const override { return height_; }
    void setHeight(int twips) override { height_ = twips; }
    void setLeft(int twips) override { left_ = twips; }
    void setTop(int twips) override { top_ = twips; }
    void setCaption(const std::string& utf8) override { caption_ = utf8; }
    void show() override { shown_ = true; }
    void onKeyDown(std::function<void(int, int)> handler) override {
        keyDown_ = std::move(handler);
    }
    void onPointerLost(toolkit::Handler handler) override { pointerLost_ = std::move(handler); }
    void onClose(toolkit::Handler handler) override { close_ = std::move(handler); }
    void unload() override { unloaded_ = true; }

    void keyDown(int keyCode, int shift) {
        if (keyDown_) keyDown_(keyCode, shift);
    }
    void losePointer() {
        if (pointerLost_) pointerLost_();
    }
    // The operator closes the window by its title bar.
    void closeByFrame() {
        if (close_) close_();
    }
    int left() const { return left_; }
    int top() const { return top_; }
    bool unloaded() const { return unloaded_; }
    bool shown() const { return shown_; }
    std::string caption() const { return caption_; }

  private:
    int width_, height_, left_ = 0, top_ = 0;
    bool unloaded_ = false, shown_ = false;
    std::string caption_;
    std::function<void(int, int)> keyDown_;
    toolkit::Handler pointerLost_;
    toolkit::Handler close_;
};

class Screen : public toolkit::Screen {
  public:
    int width() const override { return 1920 * 15; }
    int height() const override { return 1080 * 15; }
};

class MessageBox : public toolkit::MessageBox {
  public:
    void warn(const std::string& utf8) override {
        warnings.push_back(utf8);
        if (whileShown) whileShown();
    }
    void withdraw(const std::string& utf8) override { withdrawn.push_back(utf8); }
    // The operator's answer is scripted; without a script, the last choice.
    std::size_t choose(const std::string& utf8, const std::vector<std::string>& choices) override;
    std::vector<std::string> warnings;
    std::vector<std::string> withdrawn;
    std::vector<std::string> asked;  // the texts of the boxes with choices
    std::function<std::size_t(const std::string&, const std::vector<std::string>&)> answer;
    std::function<void()> whileShown;  // runs while a warning box is up
};

// The operator's answer is scripted: `answer` sees the items (and may let
// time pass meanwhile) and returns the index chosen, or nothing.
class PopUpMenu : public toolkit::PopUpMenu {
  public:
    std::optional<std::size_t> choose(const std::vector<toolkit::MenuItem>& items) override;
    std::function<std::optional<std::size_t>(const std::vector<toolkit::MenuItem>&)> answer;
    std::vector<toolkit::MenuItem> shown;  // the items of the last menu
};

// The operator types each of `typed` in turn, then cancels.
class PathPrompt : public toolkit::PathPrompt {
  public:
    std::optional<std::string> ask(const std::string&, const std::string&,
                                   const std::string& initial) override {
        initials.push_back(initial);
        if (typed.empty()) return std::nullopt;
        std::string next = typed.front();
        typed.pop_front();
        return next;
    }
    std::deque<std::string> typed;
    std::vector<std::string> initials;  // what each prompt showed at first
};

class SerialDevices : public toolkit::SerialDevices {
  public:
    std::vector<toolkit::SerialDevice> present() const override {
        ++lookedAt;
        return devices;
    }
    std::vector<std::string> adapters() const override;
    std::optional<toolkit::Fault> problemWith(const std::string& device) const override;
    std::string fallback(int number) const override {
        return "/dev/ttyS" + std::to_string(number - 1);
    }
    std::vector<toolkit::SerialDevice> devices;
    std::map<std::string, toolkit::Fault::Kind> problems;  // device -> why it cannot be used
    mutable int lookedAt = 0;                              // how often the whole list was asked for
};

class Settings : public toolkit::Settings {
  public:
    std::optional<std::string> value(const std::string& key) const override;
    bool setValue(const std::string& key, const std::string& value) override;
    bool remove(const std::string& key) override;
    std::string location() const override { return "/home/operator/.config/kr60p-panel.conf"; }
    std::map<std::string, std::string> values;
    bool writable = true;
};

// Records what the link does to the port; delivers chunks and fails on
// demand. With slowOpens, an open is left under way, as a network device's
// is, until the test finishes or fails it.
class SerialPort : public toolkit::SerialPort {
  public:
    void setCommPort(int number) override;
    int commPort() const override { return number_; }
    void setDevice(int number, const std::string& path) override { devices[number] = path; }
    std::string device() const override;
    void setSettings(const std::string& text) override;
    std::string settings() const override { return settings_; }
    void setPortOpen(bool open) override;
    bool portOpen() const override { return open_; }
    bool opening() const override { return opening_; }
    bool devicePresent() const override { return !gone_; }
    void output(const std::string& bytes) override;
    std::string input() override;
    toolkit::CommEvent commEvent() const override { return event_; }
    toolkit::Fault fault() const override { return fault_; }
    void onComm(std::function<void()> handler) override { handler_ = std::move(handler); }

    // The far end speaks: raises a receive event with these bytes waiting.
    void deliver(const std::string& bytes);
    // Raises an event of another kind.
    void raise(toolkit::CommEvent commEvent, toolkit::Fault fault = {});
    // The device stops taking lines, silently: every later open or write
    // fails.
    void hangUp() { open_ = false, gone_ = true; }
    // The device is pulled out: the port closes itself and says so.
    void unplug();
    // The device went, and the next write finds it: that write fails, and
    // the port notes the loss before it raises its event.
    bool goneAtNextWrite = false;
    // A device is there again (closed until the panel opens it).
    void plugIn() { gone_ = false; }
    // A slow open is done.
    void finishOpen();
    void failOpen(toolkit::Fault::Kind kind);
    // A fault of this kind, for the device the current number stands for.
    toolkit::Fault faultOf(toolkit::Fault::Kind kind) const;

    std::map<int, std::string> devices;       // set by the panel
    std::vector<int> missingPorts;            // opening these numbers fails
    std::vector<std::string> missingDevices;  // and opening these devices
    bool slowOpens = false;
    std::vector<std::string> calls;
    std::vector<std::string> writes;
    std::string wire() const;  // every byte written, in order

  private:
    std::string deviceOf(int number) const;

    int number_ = 1;
    std::string settings_ = "9600,N,8,1";
    bool open_ = false;
    bool opening_ = false;
    bool gone_ = false;
    std::string openDevice_;
    toolkit::CommEvent event_ = toolkit::CommEvent::None;
    toolkit::Fault fault_;
    std::string waiting_;
    std::function<void()> handler_;
};

class Toolkit : public toolkit::Toolkit {
  public:
    toolkit::Window& createWindow(const toolkit::WindowSpec& spec) override;
    toolkit::Frame& createFrame(const toolkit::ControlSpec& spec) override;
    toolkit::Label& createLabel(const toolkit::ControlSpec& spec) override;
    toolkit::Button& createButton(const toolkit::ControlSpec& spec) override;
    toolkit::Option& createOption(const toolkit::ControlSpec& spec) override;
    toolkit::TextBox& createTextBox(const toolkit::ControlSpec& spec) override;
    toolkit::Image& createImage(const toolkit::ControlSpec& spec) override;
    void createLine(const toolkit::LineSpec& spec) override { lines.push_back(spec); }
    toolkit::Timer& createTimer(const toolkit::TimerSpec& spec) override;
    void finishLayout(std::string_view focusName) override { focus = focusName; }
    toolkit::Screen& screen() override { return screen_; }
    toolkit::MessageBox& messageBox() override { return box; }
    toolkit::PopUpMenu& popUpMenu() override { return menu; }
    toolkit::PathPrompt& pathPrompt() override { return prompt; }
    toolkit::SerialPort& serialPort() override { return port; }
    toolkit::SerialDevices& serialDevices() override { return devices; }
    toolkit::Settings& settings() override { return stored; }

    Button& button(const std::string& name) { return *buttons.at(name); }
    Label& label(const std::string& name) { return *labels.at(name); }
    Frame& frame(const std::string& name) { return *frames.at(name); }
    Option& option(const std::string& name) { return *options.at(name); }
    Timer& timer(const std::string& name) { return *timers.at(name); }
    TextBox& textBox(const std::string& name) { return *textBoxes.at(name); }
    Image& image(const std::string& name) { return *images.at(name); }

    Clock clock;
    SerialPort port;
    MessageBox box;
    PopUpMenu menu;
    PathPrompt prompt;
    SerialDevices devices;
    Settings stored;  // what the panel keeps between runs
    std::unique_ptr<Window> window;
    std::vector<toolkit::ControlSpec> specs;
    std::vector<toolkit::LineSpec> lines;
    std::string focus;
    std::map<std::string, std::unique_ptr<Button>> buttons;
    std::map<std::string, std::unique_ptr<Label>> labels;
    std::map<std::string, std::unique_ptr<Frame>> frames;
    std::map<std::string, std::unique_ptr<Option>> options;
    std::map<std::string, std::unique_ptr<Timer>> timers;
    std::map<std::string, std::unique_ptr<TextBox>> textBoxes;
    std::map<std::string, std::unique_ptr<Image>> images;

  private:
    std::map<std::string, Option*> chosenInGroup_;
    Screen screen_;
};

}  // namespace fake
