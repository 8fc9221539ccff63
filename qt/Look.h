#pragma once
// Twips to pixels, UTF-8 to QString, and the colours and fonts of the
// control table on Qt widgets.

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QString>
#include <string_view>

#include "qt/Text.h"
#include "toolkit/Layout.h"

class QWidget;

namespace toolkit::qt {

inline constexpr int kAssumedFramePixels = kAssumedFrameTwips / kTwipsPerPixel;

inline int px(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QColor colour(int rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

QFont fontOf(const Font& font, const Font& windowFont);

// Font, back colour (in the given palette role) and text colour.
void applyLook(QWidget* widget, const Look& look, const Font& windowFont,
               QPalette::ColorRole backRole);

QIcon applicationIcon();

}  // namespace toolkit::qt
