#include "qt/CaptionButton.h"

#include <QFontInfo>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>
#include <vector>

namespace toolkit::qt {

namespace {

// Unicode line breaking, not only blanks: a break only where the writing
// system allows one.
std::vector<QTextLine> layOut(QTextLayout& layout, qreal width) {
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(wrapping);
    std::vector<QTextLine> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.push_back(line);
    }
    layout.endLayout();
    return lines;
}

}  // namespace

QStringList captionLines(const QString& caption, const QFont& font, qreal width) {
    QTextLayout layout(caption, font);
    QStringList texts;
    for (const QTextLine& line : layOut(layout, width)) {
        texts << caption.mid(line.textStart(), line.textLength());
    }
    return texts;
}

void CaptionButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();  // the face, the frame and the focus, without the caption
    painter.drawControl(QStyle::CE_PushButton, option);

    QTextLayout layout(caption, font());
    const QRect room = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    std::vector<QTextLine> lines = layOut(layout, room.width());

    // Lines one em apart, as a Japanese font without extra leading stacks
    // them, so that two lines of a 9 pt caption fit a button 25 px high;
    // each line centred on its own, the block centred on the face.
    const qreal pitch = QFontInfo(font()).pixelSize();
    const qreal block = pitch * static_cast<qreal>(lines.size() - 1) + fontMetrics().height();
    QPointF at(room.left(), (height() - block) / 2);
    if (option.state & (QStyle::State_Sunken | QStyle::State_On)) {
        at += QPointF(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                      style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    for (QTextLine& line : lines) {
        line.setPosition({at.x() + (room.width() - line.naturalTextWidth()) / 2, at.y()});
        at.ry() += pitch;
    }
    painter.setClipRect(rect());
    painter.setPen(option.palette.color(QPalette::ButtonText));
    layout.draw(&painter, {0, 0});
}

}  // namespace toolkit::qt
