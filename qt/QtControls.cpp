#include "qt/QtControls.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "qt/Look.h"

namespace toolkit::qt {

EventHook::EventHook(QObject* watched, std::function<void(QEvent*)> hook) : hook_(std::move(hook)) {
    watched->installEventFilter(this);
}

bool EventHook::eventFilter(QObject* /*watched*/, QEvent* event) {
    hook_(event);
    return false;
}

void QtLabel::setCaption(const std::string& utf8) {
    caption_ = utf8;
    label_->setText(qs(utf8));
}

// Press and release come from the widget's own events, so that any mouse
// button acts; Qt's implicit grab takes the release to the pressed button.
// Space on a focused button presses and releases it as the primary mouse
// button would, so that a keyboard or switch user can hold it; losing the
// focus while Space is down lets go.
//
// A held key's auto-repeat reaches the button as more presses, and on X as
// release-press pairs that Qt cannot always tell from real ones. Only the
// first press counts, and a release counts once no press has followed it
// within kSpaceRepeatPairMs: an X server repeats every 30-50 ms, a person
// cannot let go and press again as fast.
namespace {
constexpr int kSpaceRepeatPairMs = 60;
}  // namespace

QtButton::QtButton(QPushButton* button)
    : button_(button), hook_(button, [this](QEvent* event) { handle(event); }) {
    QObject::connect(button, &QPushButton::clicked, [this] {
        if (click_) click_();
    });
    spaceRelease_.setSingleShot(true);
    spaceRelease_.setInterval(kSpaceRepeatPairMs);
    QObject::connect(&spaceRelease_, &QTimer::timeout, [this] { letGo(); });
}

void QtButton::handle(QEvent* event) {
    const auto isSpace = [event] {
        const auto* key = static_cast<QKeyEvent*>(event);
        return key->key() == Qt::Key_Space && !key->isAutoRepeat();
    };
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (press_) press_();
            break;
        case QEvent::MouseButtonRelease:
            if (release_) release_();
            break;
        case QEvent::KeyPress:
            if (!isSpace() || !press_) break;
            spaceRelease_.stop();  // the release before it was the key repeating
            if (!spaceDown_) {
                spaceDown_ = true;
                press_();
            }
            break;
        case QEvent::KeyRelease:
            if (isSpace() && spaceDown_) spaceRelease_.start();
            break;
        case QEvent::FocusOut:
            letGo();
            break;
        default:
            break;
    }
}

void QtButton::letGo() {
    spaceRelease_.stop();
    if (!spaceDown_) return;
    spaceDown_ = false;
    if (release_) release_();
}

void QtButton::takeFocus() {
    button_->setFocus(Qt::OtherFocusReason);
}

void QtButton::setCaption(const std::string& utf8) {
    caption_ = utf8;
    button_->setText(qs(utf8));
    button_->setAccessibleName(qs(utf8));
}

void QtButton::setVisible(bool visible) {
    button_->setVisible(visible);
}

bool QtButton::visible() const {
    return !button_->isHidden();
}

void QtFrame::setVisible(bool visible) {
    frame_->setVisible(visible);
}

bool QtFrame::visible() const {
    return !frame_->isHidden();
}

bool QtFrame::holdsFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && frame_->isAncestorOf(focus);
}

QtOption::QtOption(QRadioButton* option) : option_(option) {
    QObject::connect(option, &QRadioButton::clicked, [this] {
        if (click_) click_();
    });
    option->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(option, &QRadioButton::customContextMenuRequested, [this] {
        if (contextMenu_) contextMenu_();
    });
}

void QtOption::setToolTip(const std::string& utf8) {
    option_->setToolTip(qs(utf8));
}

// Choosing in code an option that was not chosen raises its click.
void QtOption::setValue(bool chosen) {
    if (chosen == option_->isChecked()) return;
    option_->setChecked(chosen);
    if (chosen && click_) click_();
}

bool QtOption::value() const {
    return option_->isChecked();
}

void QtTextBox::setText(const std::string& utf8) {
    edit_->setText(qs(utf8));
}

std::string QtTextBox::text() const {
    return edit_->text().toStdString();
}

// The double-click event of the picture is the primary button's, as with the
// original toolkit; the hold buttons' presses are any button's.
QtImage::QtImage(QLabel* picture)
    : hook_(picture, [this](QEvent* event) {
          if (event->type() == QEvent::MouseButtonDblClick &&
              static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && doubleClick_) {
              doubleClick_();
          }
      }) {}

namespace {
QSize screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}
}  // namespace

int QtScreen::width() const {
    return screenSize().width() * kTwipsPerPixel;
}

int QtScreen::height() const {
    return screenSize().height() * kTwipsPerPixel;
}

}  // namespace toolkit::qt
