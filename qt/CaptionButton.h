#pragma once
// A push button whose caption, where it is too wide for the button, breaks
// onto further lines wherever the writing system allows a break: at blanks,
// and between Japanese characters, as Qt's line breaking finds them. Only
// where no break is possible is a line clipped, centred. The text stays the
// caption exactly as set, for assistive technology too; the lines are
// drawing only.

#include <QFont>
#include <QPushButton>
#include <QStringList>

namespace toolkit::qt {

// The lines a caption breaks into at this width, each line's text.
QStringList captionLines(const QString& caption, const QFont& font, qreal width);

class CaptionButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace toolkit::qt
