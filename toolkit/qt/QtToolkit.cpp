#include "toolkit/qt/QtToolkit.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace toolkit::qt {

namespace {

constexpr int kAssumedFramePixels = kAssumedFrameTwips / kTwipsPerPixel;

int px(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QColor colour(int rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

QFont fontOf(const Font& font, const Font& windowFont) {
    const Font& used = font.face == Face::Window ? windowFont : font;
    QFont made(used.face == Face::Proportional ? "IPAPGothic" : "IPAGothic");
    made.setPointSizeF(used.points);
    made.setBold(used.bold);
    made.setStyleHint(used.face == Face::Proportional ? QFont::SansSerif : QFont::Monospace);
    return made;
}

class EventHook : public QObject {
  public:
    using QObject::QObject;
    std::function<bool(QEvent*)> hook;

  protected:
    bool eventFilter(QObject*, QEvent* event) override { return hook && hook(event); }
};

}  // namespace

// Bitmaps, not the SVG: an SVG icon needs a plugin that may not be there.
QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addFile(QString(":/panel/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

// The window: draws the lines, previews every key and reports a lost pointer.
class FormWidget : public QWidget, public Window {
  public:
    explicit FormWidget(const WindowSpec& spec) {
        setObjectName(qs(spec.name));
        setFixedWidth(px(spec.clientWidth));
        heightTwips_ = spec.clientHeight + kAssumedFrameTwips;
        applyHeight();
        setAutoFillBackground(true);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, colour(spec.back));
        palette.setColor(QPalette::WindowText, Qt::black);
        setPalette(palette);
        qApp->installEventFilter(this);
    }
    ~FormWidget() override { qApp->removeEventFilter(this); }

    int width() const override {
        const int frame = frameGeometry().width() - geometry().width();
        return (QWidget::width() + (isVisible() ? frame : 0)) * kTwipsPerPixel;
    }
    // The window cannot be resized by hand, so the height last set stands.
    int height() const override { return heightTwips_; }
    void setHeight(int twips) override {
        heightTwips_ = twips;
        applyHeight();
    }
    void setLeft(int twips) override { move(px(twips), pos().y()); }
    void setTop(int twips) override { move(pos().x(), px(twips)); }
    void setCaption(const std::string& utf8) override { setWindowTitle(qs(utf8)); }
    void show() override { QWidget::show(); }
    void onKeyDown(std::function<void(int, int)> handler) override {
        keyDown_ = std::move(handler);
    }
    void onPointerLost(Handler handler) override { pointerLost_ = std::move(handler); }
    void unload() override {
        close();
        QCoreApplication::quit();
    }

    void addLine(const LineSpec& line) { lines_.push_back(line); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (const LineSpec& line : lines_) {
            painter.setPen(QPen(colour(line.colour), line.pixels));
            painter.drawLine(px(line.x1), px(line.y1), px(line.x2), px(line.y2));
        }
    }

    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        // The frame is known only once the window system has it.
        QTimer::singleShot(0, this, [this] { applyHeight(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
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

  private:
    // A key press travels from the focused control up to its parents; the
    // window previews it once, at its first stop.
    bool isFirstReceiver(QObject* watched) const {
        if (!watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->window() != this) return false;
        QWidget* focus = QApplication::focusWidget();
        return focus ? widget == focus : widget == this;
    }

    // A reported frame thinner than a title bar (offscreen reports a bare
    // border) counts as none.
    int framePixels() const {
        const int frame = frameGeometry().height() - geometry().height();
        return isVisible() && frame > kAssumedFramePixels ? frame : kAssumedFramePixels;
    }
    void applyHeight() { setFixedHeight(std::max(1, px(heightTwips_) - framePixels())); }

    int heightTwips_ = 0;
    std::vector<LineSpec> lines_;
    std::function<void(int, int)> keyDown_;
    Handler pointerLost_;
};

namespace {

class QtTimer : public Timer {
  public:
    explicit QtTimer(int interval) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(interval);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (handler_) handler_();
        });
    }
    void setInterval(int milliseconds) override { timer_.setInterval(milliseconds); }
    int interval() const override { return timer_.interval(); }
    void setEnabled(bool enabled) override {
        if (!enabled) {
            timer_.stop();
        } else if (!timer_.isActive()) {
            timer_.start();
        }
    }
    bool enabled() const override { return timer_.isActive(); }
    void onTimer(Handler handler) override { handler_ = std::move(handler); }

  private:
    QTimer timer_;
    Handler handler_;
};

class QtLabel : public Label {
  public:
    explicit QtLabel(QLabel* label) : label_(label) {}
    void setCaption(const std::string& utf8) override {
        caption_ = utf8;
        label_->setText(qs(utf8));
    }
    std::string caption() const override { return caption_; }

  private:
    QLabel* label_;
    std::string caption_;
};

// Captions wrap at blanks onto further lines where the button is too narrow
// for them, as "DISPLAY CLEAR" must.
QString wrapped(const QString& caption, const QPushButton& button) {
    // Measuring loads the font; a caption with no blank cannot wrap anyway.
    if (!caption.contains(' ')) return caption;
    const QFontMetrics metrics(button.font());
    const int room = button.width() - 6;
    if (metrics.horizontalAdvance(caption) <= room) return caption;
    QString lines, line;
    for (const QString& word : caption.split(' ')) {
        if (line.isEmpty()) {
            line = word;
        } else if (metrics.horizontalAdvance(line + ' ' + word) <= room) {
            line += ' ' + word;
        } else {
            lines += line + '\n';
            line = word;
        }
    }
    return lines + line;
}

class QtButton : public Button {
  public:
    QtButton(QPushButton* button, const std::string& caption) : button_(button) {
        setCaption(caption);
        button->installEventFilter(&hook_);
        hook_.hook = [this](QEvent* event) {
            switch (event->type()) {
                case QEvent::MouseButtonPress:
                case QEvent::MouseButtonDblClick:
                    if (press_) press_();
                    break;
                case QEvent::MouseButtonRelease:
                    if (release_) release_();
                    break;
                default:
                    break;
            }
            return false;
        };
        QObject::connect(button, &QPushButton::clicked, [this] {
            if (click_) click_();
        });
    }
    void setCaption(const std::string& utf8) override {
        caption_ = utf8;
        button_->setText(wrapped(qs(utf8), *button_));
    }
    std::string caption() const override { return caption_; }
    void setVisible(bool visible) override { button_->setVisible(visible); }
    bool visible() const override { return !button_->isHidden(); }
    void onClick(Handler handler) override { click_ = std::move(handler); }
    void onPress(Handler handler) override { press_ = std::move(handler); }
    void onRelease(Handler handler) override { release_ = std::move(handler); }

  private:
    QPushButton* button_;
    std::string caption_;
    EventHook hook_;
    Handler click_, press_, release_;
};

class QtFrame : public Frame {
  public:
    explicit QtFrame(QWidget* frame) : frame_(frame) {}
    void setVisible(bool visible) override { frame_->setVisible(visible); }
    bool visible() const override { return !frame_->isHidden(); }

  private:
    QWidget* frame_;
};

class QtOption : public Option {
  public:
    explicit QtOption(QRadioButton* option) : option_(option) {
        QObject::connect(option, &QRadioButton::clicked, [this] {
            if (click_) click_();
        });
    }
    void setValue(bool chosen) override {
        if (chosen == option_->isChecked()) return;
        option_->setChecked(chosen);
        if (chosen && click_) click_();
    }
    bool value() const override { return option_->isChecked(); }
    void onClick(Handler handler) override { click_ = std::move(handler); }

  private:
    QRadioButton* option_;
    Handler click_;
};

class QtTextBox : public TextBox {
  public:
    explicit QtTextBox(QLineEdit* edit) : edit_(edit) {}
    void setText(const std::string& utf8) override { edit_->setText(qs(utf8)); }
    std::string text() const override { return edit_->text().toStdString(); }

  private:
    QLineEdit* edit_;
};

class QtImage : public Image {
  public:
    explicit QtImage(QLabel* picture) {
        picture->installEventFilter(&hook_);
        hook_.hook = [this](QEvent* event) {
            if (event->type() == QEvent::MouseButtonDblClick && doubleClick_) doubleClick_();
            return false;
        };
    }
    void onDoubleClick(Handler handler) override { doubleClick_ = std::move(handler); }

  private:
    EventHook hook_;
    Handler doubleClick_;
};

class QtScreen : public Screen {
  public:
    int width() const override { return size().width() * kTwipsPerPixel; }
    int height() const override { return size().height() * kTwipsPerPixel; }

  private:
    static QSize size() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->geometry().size() : QSize(1024, 768);
    }
};

class QtMessageBox : public MessageBox {
  public:
    QtMessageBox(QWidget* parent, std::string title) : parent_(parent), title_(std::move(title)) {}
    void warn(const std::string& utf8) override {
        QMessageBox box(QMessageBox::Warning, qs(title_), qs(utf8), QMessageBox::Ok, parent_);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }

  private:
    QWidget* parent_;
    std::string title_;
};

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

}  // namespace

QtToolkit::QtToolkit(std::map<int, std::string> devices) : serial_(std::move(devices)) {}

QtToolkit::~QtToolkit() {
    kept_.clear();
    delete form_;
}

template <typename T>
T& QtToolkit::keep(std::unique_ptr<T> made) {
    T& kept = *made;
    kept_.emplace_back(std::move(made));
    return kept;
}

Window& QtToolkit::createWindow(const WindowSpec& spec) {
    form_ = new FormWidget(spec);
    form_->setFont(fontOf(spec.font, spec.font));
    form_->setWindowTitle(qs(spec.caption));
    form_->setWindowIcon(applicationIcon());
    windowFont_ = spec.font;
    messageBox_ = std::make_unique<QtMessageBox>(form_, std::string(spec.caption));
    screen_ = std::make_unique<QtScreen>();
    widgets_[std::string(spec.name)] = form_;
    return *form_;
}

QWidget* QtToolkit::place(QWidget* widget, const ControlSpec& spec) {
    widget->setObjectName(qs(spec.name));
    // Children of a frame are placed from the frame's outer edge, as Qt does.
    QWidget* parent = spec.container.empty() ? form_ : widgets_.find(spec.container)->second;
    widget->setParent(parent);
    widget->setGeometry(px(spec.left), px(spec.top), px(spec.width), px(spec.height));
    widget->setVisible(!spec.hidden);
    if (spec.hidden) widget->hide();
    widgets_[std::string(spec.name)] = widget;
    if (spec.tab >= 0 && widget->focusPolicy() != Qt::NoFocus) {
        focusOrder_.emplace_back(spec.tab, widget);
    }
    return widget;
}

Frame& QtToolkit::createFrame(const ControlSpec& spec) {
    auto* frame = new QGroupBox();
    applyLook(frame, spec.look, windowFont_, QPalette::Window);
    place(frame, spec);
    return keep(std::make_unique<QtFrame>(frame));
}

Label& QtToolkit::createLabel(const ControlSpec& spec) {
    auto* label = new QLabel();
    label->setTextFormat(Qt::PlainText);
    applyLook(label, spec.look, windowFont_, QPalette::Window);
    Qt::Alignment align = Qt::AlignTop;
    switch (spec.look.align) {
        case Align::Left:
            align |= Qt::AlignLeft;
            break;
        case Align::Centre:
            align |= Qt::AlignHCenter;
            break;
        case Align::Right:
            align |= Qt::AlignRight;
            break;
    }
    label->setAlignment(align);
    if (spec.look.border) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
    }
    place(label, spec);
    auto& made = keep(std::make_unique<QtLabel>(label));
    made.setCaption(std::string(spec.caption));
    return made;
}

Button& QtToolkit::createButton(const ControlSpec& spec) {
    auto* button = new QPushButton();
    button->setAutoDefault(false);
    button->setAutoRepeat(false);
    applyLook(button, spec.look, windowFont_, QPalette::Button);
    place(button, spec);
    return keep(std::make_unique<QtButton>(button, std::string(spec.caption)));
}

Option& QtToolkit::createOption(const ControlSpec& spec) {
    auto* option = new QRadioButton(qs(spec.caption));
    applyLook(option, spec.look, windowFont_, QPalette::Window);
    place(option, spec);
    option->setChecked(spec.chosen);
    return keep(std::make_unique<QtOption>(option));
}

TextBox& QtToolkit::createTextBox(const ControlSpec& spec) {
    auto* edit = new QLineEdit();
    edit->setMaxLength(std::numeric_limits<int>::max());  // the panel sets no limit
    applyLook(edit, spec.look, windowFont_, QPalette::Base);
    place(edit, spec);
    return keep(std::make_unique<QtTextBox>(edit));
}

Image& QtToolkit::createImage(const ControlSpec& spec) {
    auto* picture = new QLabel();
    picture->setPixmap(QPixmap(":/panel/image1.png"));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(picture, spec);
    return keep(std::make_unique<QtImage>(picture));
}

void QtToolkit::createLine(const LineSpec& spec) {
    form_->addLine(spec);
}

Timer& QtToolkit::createTimer(const TimerSpec& spec) {
    return keep(std::make_unique<QtTimer>(spec.interval));
}

void QtToolkit::finishLayout(std::string_view focusName) {
    std::stable_sort(focusOrder_.begin(), focusOrder_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusOrder_.size(); ++i) {
        QWidget::setTabOrder(focusOrder_[i - 1].second, focusOrder_[i].second);
    }
    if (QWidget* focus = widget(focusName)) focus->setFocus();
}

Screen& QtToolkit::screen() {
    return *screen_;
}
MessageBox& QtToolkit::messageBox() {
    return *messageBox_;
}

QWidget* QtToolkit::widget(std::string_view name) const {
    const auto found = widgets_.find(name);
    return found != widgets_.end() ? found->second : nullptr;
}

QWidget* QtToolkit::windowWidget() const {
    return form_;
}

}  // namespace toolkit::qt
