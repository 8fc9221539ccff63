#pragma once
// What is kept between runs, per user, in QSettings
// (~/.config/kr60p-panel/kr60p-panel.conf on Linux).

#include <QSettings>

#include "toolkit/Settings.h"

namespace toolkit::qt {

class QtSettings : public Settings {
  public:
    QtSettings();
    std::optional<std::string> value(const std::string& key) const override;
    bool setValue(const std::string& key, const std::string& value) override;
    bool remove(const std::string& key) override;
    std::string location() const override;

  private:
    bool kept();
    mutable QSettings settings_;
};

}  // namespace toolkit::qt
