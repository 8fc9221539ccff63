#include "qt/QtSettings.h"

namespace toolkit::qt {

QtSettings::QtSettings()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, "kr60p-panel", "kr60p-panel") {}

std::optional<std::string> QtSettings::value(const std::string& key) const {
    const QVariant value = settings_.value(QString::fromStdString(key));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

bool QtSettings::setValue(const std::string& key, const std::string& value) {
    settings_.setValue(QString::fromStdString(key), QString::fromStdString(value));
    return kept();
}

bool QtSettings::remove(const std::string& key) {
    settings_.remove(QString::fromStdString(key));
    return kept();
}

std::string QtSettings::location() const {
    return settings_.fileName().toStdString();
}

bool QtSettings::kept() {
    settings_.sync();
    return settings_.status() == QSettings::NoError;
}

}  // namespace toolkit::qt
