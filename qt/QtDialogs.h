#pragma once
// The window's modal dialogs: the warning box, the pop-up menu and the path
// prompt.

#include <string>

#include "toolkit/Controls.h"

class QWidget;

namespace toolkit::qt {

class QtMessageBox : public MessageBox {
  public:
    QtMessageBox(QWidget* parent, std::string title) : parent_(parent), title_(std::move(title)) {}
    void warn(const std::string& utf8) override;

  private:
    QWidget* parent_;
    std::string title_;
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
