#pragma once
// The window's controls by name, as the toolkit made them from the control
// table. Every lookup says which table row asks, so that a row naming a
// control that is not on the window, or one of another kind, stops start-up
// with an error naming both.

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

#include "toolkit/Controls.h"

namespace panel {

class TableError : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

class ControlRegistry {
  public:
    template <typename Control>
    void add(std::string_view name, Control& control) {
        entries_.insert_or_assign(std::string(name), &control);
    }

    toolkit::Frame& frame(std::string_view name, std::string_view row) const;
    toolkit::Label& label(std::string_view name, std::string_view row) const;
    toolkit::Button& button(std::string_view name, std::string_view row) const;
    toolkit::Option& option(std::string_view name, std::string_view row) const;
    toolkit::TextBox& textBox(std::string_view name, std::string_view row) const;
    toolkit::Image& image(std::string_view name, std::string_view row) const;
    toolkit::Timer& timer(std::string_view name, std::string_view row) const;

  private:
    using Entry = std::variant<toolkit::Frame*, toolkit::Label*, toolkit::Button*, toolkit::Option*,
                               toolkit::TextBox*, toolkit::Image*, toolkit::Timer*>;
    template <typename Control>
    Control& find(std::string_view name, std::string_view row) const;

    std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace panel
