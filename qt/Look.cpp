#include "qt/Look.h"

#include <QWidget>

namespace toolkit::qt {

QFont fontOf(const Font& font, const Font& windowFont) {
    const Font& used = font.face == Face::Window ? windowFont : font;
    QFont made(used.face == Face::Proportional ? "IPAPGothic" : "IPAGothic");
    made.setPointSizeF(used.points);
    made.setBold(used.bold);
    made.setStyleHint(used.face == Face::Proportional ? QFont::SansSerif : QFont::Monospace);
    return made;
}

void applyLook(QWidget* widget, const Look& look, const Font& windowFont,
               QPalette::ColorRole backRole) {
    widget->setFont(fontOf(look.font, windowFont));
    QPalette palette = widget->palette();
    if (look.back != kDefaultColour) {
        palette.setColor(backRole, colour(look.back));
        if (backRole == QPalette::Window) widget->setAutoFillBackground(true);
    }
    palette.setColor(QPalette::WindowText,
                     look.text != kDefaultColour ? colour(look.text) : QColor(Qt::black));
    palette.setColor(QPalette::ButtonText, Qt::black);
    widget->setPalette(palette);
}

// Bitmaps, not the SVG: an SVG icon needs a plugin that may not be there.
QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addFile(QString(":/panel/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace toolkit::qt
