#include "qt/QtToolkit.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <limits>

#include "qt/CaptionButton.h"
#include "qt/Look.h"

namespace toolkit::qt {

namespace {

template <typename T>
T& keep(std::vector<std::unique_ptr<T>>& into, std::unique_ptr<T> made) {
    into.push_back(std::move(made));
    return *into.back();
}

Qt::Alignment alignmentOf(Align align) {
    switch (align) {
        case Align::Centre:
            return Qt::AlignTop | Qt::AlignHCenter;
        case Align::Right:
            return Qt::AlignTop | Qt::AlignRight;
        case Align::Left:
            break;
    }
    return Qt::AlignTop | Qt::AlignLeft;
}

}  // namespace

QtToolkit::QtToolkit() = default;

QtToolkit::~QtToolkit() = default;

Window& QtToolkit::createWindow(const WindowSpec& spec) {
    form_ = std::make_unique<FormWidget>(spec);
    windowFont_ = spec.font;
    messageBox_ = std::make_unique<QtMessageBox>(form_.get(), std::string(spec.caption));
    popUpMenu_ = std::make_unique<QtPopUpMenu>(form_.get());
    pathPrompt_ = std::make_unique<QtPathPrompt>(form_.get());
    return *form_;
}

void QtToolkit::place(QWidget* widget, const ControlSpec& spec) {
    widget->setObjectName(qs(spec.name));
    // Children of a frame are placed from the frame's outer edge, as Qt does.
    QWidget* parent = spec.container.empty() ? form_.get() : widgets_.find(spec.container)->second;
    widget->setParent(parent);
    widget->setGeometry(px(spec.left), px(spec.top), px(spec.width), px(spec.height));
    widget->setVisible(!spec.hidden);
    widgets_[std::string(spec.name)] = widget;
    if (spec.tab >= 0 && widget->focusPolicy() != Qt::NoFocus) {
        focusOrder_.emplace_back(spec.tab, widget);
    }
}

Frame& QtToolkit::createFrame(const ControlSpec& spec) {
    auto* frame = new QGroupBox();
    applyLook(frame, spec.look, windowFont_, QPalette::Window);
    place(frame, spec);
    return keep(frames_, std::make_unique<QtFrame>(frame));
}

Label& QtToolkit::createLabel(const ControlSpec& spec) {
    auto* label = new QLabel();
    label->setTextFormat(Qt::PlainText);  // received bytes are never markup
    applyLook(label, spec.look, windowFont_, QPalette::Window);
    label->setAlignment(alignmentOf(spec.look.align));
    if (spec.look.border) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
    }
    place(label, spec);
    auto& made = keep(labels_, std::make_unique<QtLabel>(label));
    made.setCaption(std::string(spec.caption));
    return made;
}

Button& QtToolkit::createButton(const ControlSpec& spec) {
    auto* button = new CaptionButton();
    button->setAutoDefault(false);
    button->setAutoRepeat(false);
    applyLook(button, spec.look, windowFont_, QPalette::Button);
    place(button, spec);
    button->setAccessibleDescription(qs(spec.description));
    auto& made = keep(buttons_, std::make_unique<QtButton>(button));
    made.setCaption(std::string(spec.caption));
    return made;
}

Option& QtToolkit::createOption(const ControlSpec& spec) {
    auto* option = new QRadioButton(qs(spec.caption));
    applyLook(option, spec.look, windowFont_, QPalette::Window);
    place(option, spec);
    option->setChecked(spec.chosen);
    return keep(options_, std::make_unique<QtOption>(option));
}

TextBox& QtToolkit::createTextBox(const ControlSpec& spec) {
    auto* edit = new QLineEdit();
    edit->setMaxLength(std::numeric_limits<int>::max());  // the panel sets no limit
    applyLook(edit, spec.look, windowFont_, QPalette::Base);
    place(edit, spec);
    return keep(textBoxes_, std::make_unique<QtTextBox>(edit));
}

Image& QtToolkit::createImage(const ControlSpec& spec) {
    auto* picture = new QLabel();
    picture->setPixmap(QPixmap(":/panel/image1.bmp"));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(picture, spec);
    return keep(images_, std::make_unique<QtImage>(picture));
}

void QtToolkit::createLine(const LineSpec& spec) {
    form_->addLine(spec);
}

Timer& QtToolkit::createTimer(const TimerSpec& spec) {
    return keep(timers_, std::make_unique<QtTimer>(form_.get(), spec.name, spec.interval));
}

void QtToolkit::finishLayout(std::string_view focusName) {
    std::stable_sort(focusOrder_.begin(), focusOrder_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusOrder_.size(); ++i) {
        QWidget::setTabOrder(focusOrder_[i - 1].second, focusOrder_[i].second);
    }
    if (const auto focus = widgets_.find(focusName); focus != widgets_.end()) {
        focus->second->setFocus();
    }
}

}  // namespace toolkit::qt
