#pragma once
// What is kept for the operator between runs.

#include <optional>
#include <string>

namespace toolkit {

class Settings {
  public:
    virtual ~Settings() = default;
    virtual std::optional<std::string> value(const std::string& key) const = 0;
    // False when the value could not be kept for the next run; it holds for
    // this one all the same.
    virtual bool setValue(const std::string& key, const std::string& value) = 0;
    virtual bool remove(const std::string& key) = 0;
    // Where the values are kept, for people to read.
    virtual std::string location() const = 0;
};

}  // namespace toolkit
