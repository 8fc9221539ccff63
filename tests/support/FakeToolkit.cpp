#include "tests/support/FakeToolkit.h"

#include <algorithm>
#include <stdexcept>

namespace fake {

void Timer::arm() {
    due_ = clock_.now() + interval_;
    armed_ = clock_.nextSequence();
}

void Timer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    if (enabled_) arm();
}

void Timer::setEnabled(bool enabled) {
    if (enabled && !enabled_) {
        enabled_ = true;
        arm();
    } else if (!enabled) {
        enabled_ = false;
    }
}

void Clock::advance(std::int64_t milliseconds) {
    const std::int64_t until = now_ + milliseconds;
    for (;;) {
        Timer* next = nullptr;
        for (Timer* timer : timers_) {
            if (!timer->enabled_ || timer->due_ > until) continue;
            if (!next || timer->due_ < next->due_ ||
                (timer->due_ == next->due_ && timer->armed_ < next->armed_)) {
                next = timer;
            }
        }
        if (!next) break;
        now_ = next->due_;
        // A periodic timer counts on from its deadline unless its handler
        // re-armed or stopped it.
        next->due_ += std::max(next->interval_, 1);
        next->armed_ = nextSequence();
        if (next->handler_) next->handler_();
    }
    now_ = until;
}

void Option::setValue(bool chosen) {
    if (chosen == value()) return;
    if (!chosen) {
        groupChosen_ = nullptr;
        return;
    }
    groupChosen_ = this;
    if (click_) click_();
}

void Option::click() {
    groupChosen_ = this;
    if (click_) click_();
}

std::optional<std::size_t> PopUpMenu::choose(const std::vector<toolkit::MenuItem>& items) {
    shown = items;
    return answer ? answer(items) : std::nullopt;
}

std::vector<std::string> SerialDevices::adapters() const {
    std::vector<std::string> paths;
    for (const toolkit::SerialDevice& device : devices) {
        if (device.adapter) paths.push_back(device.path);
    }
    return paths;
}

std::optional<toolkit::Fault> SerialDevices::problemWith(const std::string& device) const {
    const auto problem = problems.find(device);
    if (problem == problems.end()) return std::nullopt;
    toolkit::Fault fault;
    fault.kind = problem->second;
    fault.device = device;
    return fault;
}

std::size_t MessageBox::choose(const std::string& utf8, const std::vector<std::string>& choices) {
    asked.push_back(utf8);
    if (answer) return answer(utf8, choices);
    return choices.empty() ? 0 : choices.size() - 1;
}

std::optional<std::string> Settings::value(const std::string& key) const {
    const auto found = values.find(key);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

bool Settings::setValue(const std::string& key, const std::string& value) {
    if (writable) values[key] = value;
    return writable;
}

bool Settings::remove(const std::string& key) {
    if (writable) values.erase(key);
    return writable;
}

std::string SerialPort::deviceOf(int number) const {
    const auto mapped = devices.find(number);
    return mapped != devices.end() ? mapped->second : "/dev/ttyS" + std::to_string(number - 1);
}

std::string SerialPort::device() const {
    return open_ || opening_ ? openDevice_ : deviceOf(number_);
}

toolkit::Fault SerialPort::faultOf(toolkit::Fault::Kind kind) const {
    toolkit::Fault fault;
    fault.kind = kind;
    fault.device = device();
    fault.number = number_;
    return fault;
}

void SerialPort::unplug() {
    const bool wasOpen = open_;
    const toolkit::Fault lost = faultOf(toolkit::Fault::Kind::Lost);
    open_ = false;
    gone_ = true;
    if (wasOpen) raise(toolkit::CommEvent::Lost, lost);
}

void SerialPort::setCommPort(int number) {
    if (open_ || opening_) throw toolkit::SerialError(faultOf(toolkit::Fault::Kind::CannotOpen));
    number_ = number;
    calls.push_back("port " + std::to_string(number));
}

void SerialPort::setSettings(const std::string& text) {
    settings_ = text;
    calls.push_back("settings " + text);
}

void SerialPort::setPortOpen(bool open) {
    if (!open) {
        calls.push_back("close");
        open_ = opening_ = false;
        return;
    }
    const std::string device = deviceOf(number_);
    if (gone_ ||
        std::find(missingPorts.begin(), missingPorts.end(), number_) != missingPorts.end() ||
        std::find(missingDevices.begin(), missingDevices.end(), device) != missingDevices.end()) {
        throw toolkit::SerialError(faultOf(toolkit::Fault::Kind::NoSuchDevice));
    }
    calls.push_back("open");
    openDevice_ = device;
    open_ = !slowOpens;
    opening_ = slowOpens;
}

void SerialPort::finishOpen() {
    if (!opening_) return;
    opening_ = false;
    open_ = true;
    raise(toolkit::CommEvent::Opened);
}

void SerialPort::failOpen(toolkit::Fault::Kind kind) {
    if (!opening_) return;
    const toolkit::Fault failed = faultOf(kind);
    opening_ = false;
    raise(toolkit::CommEvent::OpenFailed, failed);
}

void SerialPort::output(const std::string& bytes) {
    if (goneAtNextWrite && open_) {
        goneAtNextWrite = false;
        open_ = false;
        gone_ = true;
        event_ = toolkit::CommEvent::Lost;
        fault_ = faultOf(toolkit::Fault::Kind::Lost);
        throw toolkit::SerialError(faultOf(toolkit::Fault::Kind::SendFailed));
    }
    if (opening_) throw toolkit::SerialError(faultOf(toolkit::Fault::Kind::Connecting));
    if (!open_) throw toolkit::SerialError(faultOf(toolkit::Fault::Kind::Closed));
    writes.push_back(bytes);
}

std::string SerialPort::input() {
    std::string taken;
    taken.swap(waiting_);
    return taken;
}

void SerialPort::deliver(const std::string& bytes) {
    waiting_ += bytes;
    raise(toolkit::CommEvent::Receive);
}

void SerialPort::raise(toolkit::CommEvent commEvent, toolkit::Fault fault) {
    event_ = commEvent;
    fault_ = std::move(fault);
    if (handler_) handler_();
}

std::string SerialPort::wire() const {
    std::string all;
    for (const std::string& write : writes) all += write;
    return all;
}

toolkit::Window& Toolkit::createWindow(const toolkit::WindowSpec& spec) {
    window =
        std::make_unique<Window>(spec.clientWidth, spec.clientHeight + toolkit::kAssumedFrameTwips);
    window->setCaption(std::string(spec.caption));
    return *window;
}

namespace {
template <typename T, typename... Args>
T& make(std::map<std::string, std::unique_ptr<T>>& into, std::vector<toolkit::ControlSpec>& specs,
        const toolkit::ControlSpec& spec, Args&&... args) {
    specs.push_back(spec);
    auto& made = into[std::string(spec.name)];
    made = std::make_unique<T>(std::forward<Args>(args)...);
    return *made;
}
}  // namespace

toolkit::Frame& Toolkit::createFrame(const toolkit::ControlSpec& spec) {
    auto& frame = make(frames, specs, spec);
    frame.setVisible(!spec.hidden);
    return frame;
}

toolkit::Label& Toolkit::createLabel(const toolkit::ControlSpec& spec) {
    auto& label = make(labels, specs, spec);
    label.setCaption(std::string(spec.caption));
    return label;
}

toolkit::Button& Toolkit::createButton(const toolkit::ControlSpec& spec) {
    auto& button = make(buttons, specs, spec, std::string(spec.caption));
    button.setVisible(!spec.hidden);
    return button;
}

toolkit::Option& Toolkit::createOption(const toolkit::ControlSpec& spec) {
    Option*& chosen = chosenInGroup_[std::string(spec.container)];
    auto& option = make(options, specs, spec, chosen);
    if (spec.chosen) chosen = &option;
    return option;
}

toolkit::TextBox& Toolkit::createTextBox(const toolkit::ControlSpec& spec) {
    return make(textBoxes, specs, spec);
}

toolkit::Image& Toolkit::createImage(const toolkit::ControlSpec& spec) {
    return make(images, specs, spec);
}

toolkit::Timer& Toolkit::createTimer(const toolkit::TimerSpec& spec) {
    auto& timer = timers[std::string(spec.name)];
    timer = std::make_unique<Timer>(clock, spec.interval);
    clock.add(timer.get());
    return *timer;
}

}  // namespace fake
