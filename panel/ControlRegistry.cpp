#include "panel/ControlRegistry.h"

#include <array>

namespace panel {

namespace {

// In the order of ControlRegistry::Entry.
constexpr std::array<std::string_view, 7> kKinds{"frame",    "label", "button", "option",
                                                 "text box", "image", "timer"};

}  // namespace

template <typename Control>
Control& ControlRegistry::find(std::string_view name, std::string_view row) const {
    const std::string asker(row);
    const auto found = entries_.find(name);
    if (found == entries_.end()) {
        throw TableError(asker + " names " + std::string(name) + ", which is not on the window.");
    }
    if (Control* const* control = std::get_if<Control*>(&found->second)) return **control;
    const std::string_view wanted = kKinds[Entry(static_cast<Control*>(nullptr)).index()];
    const std::string_view is = kKinds[found->second.index()];
    throw TableError(asker + " names " + std::string(name) + ", which is a " + std::string(is) +
                     ", not a " + std::string(wanted) + ".");
}

toolkit::Frame& ControlRegistry::frame(std::string_view name, std::string_view row) const {
    return find<toolkit::Frame>(name, row);
}
toolkit::Label& ControlRegistry::label(std::string_view name, std::string_view row) const {
    return find<toolkit::Label>(name, row);
}
toolkit::Button& ControlRegistry::button(std::string_view name, std::string_view row) const {
    return find<toolkit::Button>(name, row);
}
toolkit::Option& ControlRegistry::option(std::string_view name, std::string_view row) const {
    return find<toolkit::Option>(name, row);
}
toolkit::TextBox& ControlRegistry::textBox(std::string_view name, std::string_view row) const {
    return find<toolkit::TextBox>(name, row);
}
toolkit::Image& ControlRegistry::image(std::string_view name, std::string_view row) const {
    return find<toolkit::Image>(name, row);
}
toolkit::Timer& ControlRegistry::timer(std::string_view name, std::string_view row) const {
    return find<toolkit::Timer>(name, row);
}

}  // namespace panel
