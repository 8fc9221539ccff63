#pragma once
// The window's modal dialogs: the warning box, the pop-up menu and the path
// prompt.

#include <string>
#include <vector>

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

class QtPopUpMenu : public PopUpMenu {
  public:
    explicit QtPopUpMenu(QWidget* parent) : parent_(parent) {}
    std::optional<std::size_t> choose(const std::vector<MenuItem>& items) override;

  private:
    QWidget* parent_;
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
