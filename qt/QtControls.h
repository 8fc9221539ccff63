#pragma once
// The controls of the window on Qt widgets, each holding the widget it
// drives (owned by the window), and the screen.

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "toolkit/Controls.h"

class QEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace toolkit::qt {

// Hands the events of one widget to a function, which never consumes them.
class EventHook : public QObject {
  public:
    explicit EventHook(QObject* watched, std::function<void(QEvent*)> hook);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void(QEvent*)> hook_;
};

class QtLabel : public Label {
  public:
    explicit QtLabel(QLabel* label) : label_(label) {}
    void setCaption(const std::string& utf8) override;
    std::string caption() const override { return caption_; }

  private:
    QLabel* label_;
    std::string caption_;
};

class QtButton : public Button {
  public:
    explicit QtButton(QPushButton* button);
    void setCaption(const std::string& utf8) override;
    std::string caption() const override { return caption_; }
    void setVisible(bool visible) override;
    bool visible() const override;
    void onClick(Handler handler) override { click_ = std::move(handler); }
    void onPress(Handler handler) override { press_ = std::move(handler); }
    void onRelease(Handler handler) override { release_ = std::move(handler); }
    void takeFocus() override;

  private:
    void handle(QEvent* event);
    void letGo();

    QPushButton* button_;
    std::string caption_;
    EventHook hook_;
    Handler click_, press_, release_;
    bool spaceDown_ = false;
    // A release of Space waits this long for the press that follows it when
    // the key is only auto-repeating.
    QTimer spaceRelease_;
};

class QtFrame : public Frame {
  public:
    explicit QtFrame(QWidget* frame) : frame_(frame) {}
    void setVisible(bool visible) override;
    bool visible() const override;
    bool holdsFocus() const override;

  private:
    QWidget* frame_;
};

class QtOption : public Option {
  public:
    explicit QtOption(QRadioButton* option);
    void setValue(bool chosen) override;
    bool value() const override;
    void onClick(Handler handler) override { click_ = std::move(handler); }
    void onContextMenu(Handler handler) override { contextMenu_ = std::move(handler); }
    void setToolTip(const std::string& utf8) override;

  private:
    QRadioButton* option_;
    Handler click_, contextMenu_;
};

class QtTextBox : public TextBox {
  public:
    explicit QtTextBox(QLineEdit* edit) : edit_(edit) {}
    void setText(const std::string& utf8) override;
    std::string text() const override;

  private:
    QLineEdit* edit_;
};

class QtImage : public Image {
  public:
    explicit QtImage(QLabel* picture);
    void onDoubleClick(Handler handler) override { doubleClick_ = std::move(handler); }

  private:
    EventHook hook_;
    Handler doubleClick_;
};

class QtScreen : public Screen {
  public:
    int width() const override;
    int height() const override;
};

}  // namespace toolkit::qt
