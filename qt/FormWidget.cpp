#include "qt/FormWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "qt/Look.h"

namespace toolkit::qt {

FormWidget::FormWidget(const WindowSpec& spec) {
    setObjectName(qs(spec.name));
    setFixedWidth(px(spec.clientWidth));
    heightTwips_ = spec.clientHeight + kAssumedFrameTwips;
    applyHeight();
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour(spec.back));
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setFont(fontOf(spec.font, spec.font));
    setWindowTitle(qs(spec.caption));
    qApp->installEventFilter(this);
}

FormWidget::~FormWidget() {
    qApp->removeEventFilter(this);
}

int FormWidget::width() const {
    const int frame = frameGeometry().width() - geometry().width();
    return (QWidget::width() + (isVisible() ? frame : 0)) * kTwipsPerPixel;
}

void FormWidget::setHeight(int twips) {
    heightTwips_ = twips;
    applyHeight();
}

void FormWidget::setLeft(int twips) {
    move(onScreen({px(twips), pos().y()}));
}

void FormWidget::setTop(int twips) {
    move(onScreen({pos().x(), px(twips)}));
}

// Centring a window taller or wider than the screen (a small or scaled one)
// would put its title bar out of reach; its top-left stays on the screen's
// available area.
QPoint FormWidget::onScreen(QPoint topLeft) const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return topLeft;
    const QRect area = screen->availableGeometry();
    return {std::max(topLeft.x(), area.left()), std::max(topLeft.y(), area.top())};
}

void FormWidget::setCaption(const std::string& utf8) {
    setWindowTitle(qs(utf8));
}

void FormWidget::onKeyDown(std::function<void(int, int)> handler) {
    keyDown_ = std::move(handler);
}

void FormWidget::onPointerLost(Handler handler) {
    pointerLost_ = std::move(handler);
}

void FormWidget::onClose(Handler handler) {
    close_ = std::move(handler);
}

// A box, menu or prompt open at the end runs an event loop of its own, which
// nothing else would end before the program's own loop has started (the
// start-up's failure box): each is closed as its Cancel would.
void FormWidget::unload() {
    unloading_ = true;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        if (auto* menu = qobject_cast<QMenu*>(top)) {
            menu->close();
        } else if (auto* dialog = qobject_cast<QDialog*>(top)) {
            dialog->reject();
        }
    }
    close();
    QCoreApplication::quit();
}

// Closed by its frame: the handler ends the program as "END" does, which
// unloads the window.
void FormWidget::closeEvent(QCloseEvent* event) {
    if (!unloading_ && close_) {
        event->ignore();
        close_();
        return;
    }
    QWidget::closeEvent(event);
}

void FormWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    for (const LineSpec& line : lines_) {
        painter.setPen(QPen(colour(line.colour), line.pixels));
        painter.drawLine(px(line.x1), px(line.y1), px(line.x2), px(line.y2));
    }
}

void FormWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The frame is known only once the window system has it. The icon, three
    // pictures to decode, can follow the window a moment later.
    QTimer::singleShot(0, this, [this] {
        applyHeight();
        if (windowIcon().isNull()) setWindowIcon(applicationIcon());
    });
}

bool FormWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isFirstReceiver(watched) && keyDown_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        int shift = 0;
        if (key->modifiers() & Qt::ShiftModifier) shift |= ShiftMask;
        if (key->modifiers() & Qt::ControlModifier) shift |= CtrlMask;
        if (key->modifiers() & Qt::AltModifier) shift |= AltMask;
        keyDown_(key->key(), shift);
    }
    if (watched == this && event->type() == QEvent::WindowDeactivate && pointerLost_) {
        pointerLost_();
    }
    return false;  // the focused control still gets every key
}

// A key press travels from the focused control up to its parents; the window
// previews it once, at its first stop.
bool FormWidget::isFirstReceiver(QObject* watched) const {
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this) return false;
    QWidget* focus = QApplication::focusWidget();
    return focus ? widget == focus : widget == this;
}

// A reported frame thinner than a title bar (offscreen reports a bare border)
// counts as none.
int FormWidget::framePixels() const {
    const int frame = frameGeometry().height() - geometry().height();
    return isVisible() && frame > kAssumedFramePixels ? frame : kAssumedFramePixels;
}

void FormWidget::applyHeight() {
    setFixedHeight(std::max(1, px(heightTwips_) - framePixels()));
    reachOnlyWhatShows();
}

// A control the window's height cuts off (its middle below the bottom edge)
// is out of the Tab order until the window shows it again. One that has the
// focus keeps it, as a clicked button does: handing it on would put it on a
// control that sends something at the next Space.
void FormWidget::reachOnlyWhatShows() {
    static constexpr const char* kPolicy = "kr60pFocusPolicy";
    const int bottom = QWidget::height();
    for (QWidget* child : findChildren<QWidget*>()) {
        if (!child->property(kPolicy).isValid()) {
            if (child->focusPolicy() == Qt::NoFocus) continue;
            child->setProperty(kPolicy, static_cast<int>(child->focusPolicy()));
        }
        const int middle = child->mapTo(this, QPoint(0, 0)).y() + child->height() / 2;
        child->setFocusPolicy(middle > bottom
                                  ? Qt::NoFocus
                                  : static_cast<Qt::FocusPolicy>(child->property(kPolicy).toInt()));
    }
}

}  // namespace toolkit::qt
