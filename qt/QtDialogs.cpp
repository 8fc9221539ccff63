#include "qt/QtDialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "qt/Look.h"
#include "qt/QtControls.h"

namespace toolkit::qt {

void QtMessageBox::warn(const std::string& utf8) {
    QMessageBox box(QMessageBox::Warning, qs(title_), qs(utf8), QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    shown_.push_back(&box);
    box.exec();
    shown_.erase(std::find(shown_.begin(), shown_.end(), &box));
}

void QtMessageBox::withdraw(const std::string& utf8) {
    const QString text = qs(utf8);
    for (QMessageBox* box : shown_) {
        if (box->text() == text) box->done(QMessageBox::Ok);
    }
}

std::size_t QtMessageBox::choose(const std::string& utf8, const std::vector<std::string>& choices) {
    QMessageBox box(QMessageBox::Critical, qs(title_), qs(utf8), QMessageBox::NoButton, parent_);
    box.setTextFormat(Qt::PlainText);
    std::vector<QAbstractButton*> buttons;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const bool last = i + 1 == choices.size();
        buttons.push_back(box.addButton(qs(choices[i]),
                                        last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    }
    if (!buttons.empty()) {
        box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
        box.setEscapeButton(buttons.back());
    }
    box.exec();
    const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    if (chosen == buttons.end()) return choices.empty() ? 0 : choices.size() - 1;
    return static_cast<std::size_t>(chosen - buttons.begin());
}

QtPopUpMenu::QtPopUpMenu(QWidget* parent)
    : parent_(parent), lastInput_(qApp, [this](QEvent* event) {
          if (event->type() == QEvent::KeyPress) byKeyboard_ = true;
          if (event->type() == QEvent::MouseButtonPress) byKeyboard_ = false;
      }) {}

QPoint QtPopUpMenu::place() const {
    if (!byKeyboard_) return QCursor::pos();
    if (const QWidget* focus = QApplication::focusWidget()) {
        return focus->mapToGlobal(QPoint(0, focus->height()));
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().center() : QCursor::pos();
}

std::optional<std::size_t> QtPopUpMenu::choose(const std::vector<MenuItem>& items) {
    QMenu menu(parent_);
    menu.setToolTipsVisible(true);
    std::vector<QAction*> actions;
    for (const MenuItem& item : items) {
        QAction* action = menu.addAction(qs(item.text));
        action->setToolTip(qs(item.toolTip));
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        actions.push_back(action);
    }
    const QAction* chosen = menu.exec(place());
    const auto found = std::find(actions.begin(), actions.end(), chosen);
    if (chosen == nullptr || found == actions.end()) return std::nullopt;
    return static_cast<std::size_t>(found - actions.begin());
}

std::optional<std::string> QtPathPrompt::ask(const std::string& title, const std::string& label,
                                             const std::string& initial) {
    QDialog dialog(parent_);
    dialog.setWindowTitle(qs(title));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(qs(label)));
    auto* path = new QLineEdit(qs(initial));
    path->setMinimumWidth(360);
    // Completes from the file system as the operator types, symbolic links
    // and device nodes included.
    auto* files = new QFileSystemModel(&dialog);
    files->setFilter(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    files->setRootPath("/");
    auto* completer = new QCompleter(files, &dialog);
    path->setCompleter(completer);
    // Return takes what is typed even while the list shows; only a
    // completion chosen with the arrow keys is taken from the list first.
    const EventHook oneReturn(completer->popup(), [&dialog, completer](QEvent* event) {
        if (event->type() != QEvent::KeyPress) return;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            !completer->popup()->currentIndex().isValid()) {
            completer->popup()->hide();
            dialog.accept();
        }
    });
    layout->addWidget(path);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return path->text().trimmed().toStdString();
}

}  // namespace toolkit::qt
