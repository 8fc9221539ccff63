#pragma once
// The real panel window (offscreen) on real serial devices, with every
// warning box closed as it appears and its text kept. Controls are found as
// an operator's tools find them: by their names in Qt's object tree.

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "panel/ControlNames.h"
#include "panel/Form1.h"
#include "qt/QtToolkit.h"
#include "tests/support/PtyPeer.h"

namespace names = panel::names;

class PanelWindow {
  public:
    explicit PanelWindow(const std::string& com1,
                         const std::string& com2 = "/dev/no-such-serial-device")
        : form(tk, {{1, com1}, {2, com2}}) {
        boxCloser_.setInterval(5);
        QObject::connect(&boxCloser_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                warnings.push_back(box->text().toStdString());
                box->done(QMessageBox::Ok);
            }
        });
        boxCloser_.start();
        // A device on the network takes a moment; the window shows once it is open.
        form.Form_Load();
        if (!waitFor([this] { return !form.port().starting(); }) || form.ended()) {
            throw std::runtime_error("the panel did not start: " +
                                     (warnings.empty() ? "" : warnings.back()));
        }
        window_ = findWindow();
        if (!QTest::qWaitForWindowExposed(window_)) throw std::runtime_error("no window");
    }

    QWidget* window() const { return window_; }
    template <typename T = QWidget>
    T* find(const char* name) const {
        T* found = window_->findChild<T*>(name);
        if (!found) throw std::runtime_error(std::string("no control ") + name);
        return found;
    }
    QWidget* widget(const char* name) const { return find<QWidget>(name); }
    QPushButton* button(const char* name) const { return find<QPushButton>(name); }
    QString text(const char* label) const { return find<QLabel>(label)->text(); }
    bool timerRunning(const char* name) const { return find<QTimer>(name)->isActive(); }
    void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }

    toolkit::qt::QtToolkit tk;
    panel::Form1 form;
    std::vector<std::string> warnings;

  private:
    static QWidget* findWindow() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == names::Window) return top;
        }
        throw std::runtime_error("no window");
    }

    QWidget* window_ = nullptr;
    QTimer boxCloser_;
};
