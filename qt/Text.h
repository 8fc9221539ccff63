#pragma once
// UTF-8 text to and from Qt's strings.

#include <QString>
#include <string>
#include <string_view>

namespace toolkit::qt {

inline QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string utf8(const QString& text) {
    return text.toStdString();
}

}  // namespace toolkit::qt
