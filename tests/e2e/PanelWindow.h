#pragma once
// The real panel window (offscreen) on real serial devices, with every
// warning box closed as it appears and its text kept.

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <stdexcept>

#include "panel/Form1.h"
#include "toolkit/qt/QtToolkit.h"

class PanelWindow {
  public:
    explicit PanelWindow(const std::string& com1,
                         const std::string& com2 = "/dev/no-such-serial-device")
        : tk({{1, com1}, {2, com2}}), form(tk) {
        form.Form_Load();
        form.window().show();
        if (!QTest::qWaitForWindowExposed(tk.windowWidget())) throw std::runtime_error("no window");
        boxCloser_.setInterval(5);
        QObject::connect(&boxCloser_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                warnings.push_back(box->text().toStdString());
                box->done(QMessageBox::Ok);
            }
        });
        boxCloser_.start();
    }

    QWidget* widget(const char* name) const { return tk.widget(name); }
    QPushButton* button(const char* name) const { return static_cast<QPushButton*>(widget(name)); }
    QString text(const char* label) const { return static_cast<QLabel*>(widget(label))->text(); }
    void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }

    toolkit::qt::QtToolkit tk;
    panel::Form1 form;
    std::vector<std::string> warnings;

  private:
    QTimer boxCloser_;
};
