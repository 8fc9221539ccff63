#include <QApplication>
#include <QMessageBox>
#include <QStyleFactory>
#include <cstdio>
#include <optional>

#include "app/Options.h"
#include "panel/Form1.h"
#include "toolkit/qt/QtToolkit.h"

int main(int argc, char* argv[]) {
    const app::Options options = app::readOptions(std::vector<std::string>(argv, argv + argc));
    if (options.exitText) {
        std::fputs(options.exitText->c_str(), options.exitStatus == 0 ? stdout : stderr);
        return options.exitStatus;
    }

    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    toolkit::qt::QtToolkit toolkit(options.devices);
    std::optional<panel::Form1> built;
    try {
        built.emplace(toolkit);
    } catch (const panel::TableError& error) {
        std::fprintf(stderr, "kr60p-panel: the window cannot be built: %s\n", error.what());
        return 1;
    }
    panel::Form1& form = *built;
    try {
        form.Form_Load();
    } catch (const toolkit::SerialError& error) {
        QMessageBox box(
            QMessageBox::Critical, "KR60P CONTROL",
            QString::fromStdString(std::string("The panel cannot start.\n\n") + error.what() +
                                   "\n\nTo use another device, start the panel with --com1 PATH, "
                                   "for example --com1 /dev/ttyUSB0."));
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return 1;
    }
    form.window().show();
    return QApplication::exec();
}
