#pragma once
// The window's modal dialogs: the warning box, the pop-up menu and the path
// prompt.

#include <QPoint>
#include <string>
#include <vector>

#include "qt/QtControls.h"
#include "toolkit/Controls.h"

class QMessageBox;
class QWidget;

namespace toolkit::qt {

class QtMessageBox : public MessageBox {
  public:
    QtMessageBox(QWidget* parent, std::string title) : parent_(parent), title_(std::move(title)) {}
    void warn(const std::string& utf8) override;
    void withdraw(const std::string& utf8) override;
    std::size_t choose(const std::string& utf8, const std::vector<std::string>& choices) override;

  private:
    QWidget* parent_;
    std::string title_;
    std::vector<QMessageBox*> shown_;  // the warning boxes open now, innermost last
};

// Opened by the mouse, the menu appears at the pointer; opened from the
// keyboard (the Menu key, Shift+F10, Return on a box's button), at the
// control that has the focus, where the operator is looking.
class QtPopUpMenu : public PopUpMenu {
  public:
    explicit QtPopUpMenu(QWidget* parent);
    std::optional<std::size_t> choose(const std::vector<MenuItem>& items) override;

  private:
    QPoint place() const;

    QWidget* parent_;
    bool byKeyboard_ = false;  // the last press was a key's, not a mouse button's
    EventHook lastInput_;
};

class QtPathPrompt : public PathPrompt {
  public:
    explicit QtPathPrompt(QWidget* parent) : parent_(parent) {}
    std::optional<std::string> ask(const std::string& title, const std::string& label,
                                   const std::string& initial) override;

  private:
    QWidget* parent_;
};

}  // namespace toolkit::qt
