// Devices on a technician's laptop, for real: a device path that is a
// symbolic link unplugged and plugged in again, the right-click device menu,
// and the program started without a display or without its device.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <filesystem>

#include "PanelWindow.h"
#include "app/Options.h"
#include "app/PanelProgram.h"
#include "log/TrafficLog.h"
#include "qt/QtSerialDevices.h"
#include "tests/support/PtyPeer.h"
#include "vocabulary/Sentences.h"

namespace {

std::size_t openFiles() {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                      std::filesystem::directory_iterator()));
}

// Points `link` at a device, as udev does when an adapter is plugged in.
void pointLink(const std::string& link, const std::string& device) {
    ::unlink(link.c_str());
    ASSERT_EQ(::symlink(device.c_str(), link.c_str()), 0);
}

// Runs the panel program; returns its exit status, or -1 when it had to be
// stopped, with what it printed on standard error.
int runPanel(const QStringList& arguments, const QProcessEnvironment& environment,
             std::string& errors, const char* stopOnceSeen = nullptr) {
    QProcess panel;
    panel.setProcessEnvironment(environment);
    panel.start(KR60P_PANEL, arguments);
    panel.waitForStarted();
    const bool ended = waitFor([&] {
        errors += panel.readAllStandardError().toStdString();
        if (stopOnceSeen && errors.find(stopOnceSeen) != std::string::npos) return true;
        return panel.state() == QProcess::NotRunning;
    });
    if (panel.state() != QProcess::NotRunning) {
        panel.kill();  // a start-up box waits for a click that no one gives
        panel.waitForFinished();
        return ended ? -1 : -2;
    }
    errors += panel.readAllStandardError().toStdString();
    return panel.exitCode();
}

// Starts the panel with COM1 kept as `device`, until it has said why it
// cannot start; what it said on standard error.
std::string startWithKeptDevice(const QString& device) {
    QTemporaryDir home;
    QSettings kept(home.filePath("kr60p-panel/kr60p-panel.conf"), QSettings::IniFormat);
    kept.setValue("devices/COM1", device);
    kept.sync();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", home.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    std::string errors;
    runPanel({}, environment, errors, "--list-ports shows");
    return errors;
}

// The signals that end the panel, and the log's last line for each.
const std::vector<std::pair<int, std::string>> kEndingSignals{
    {SIGTERM, "ENDED: SIGTERM"}, {SIGHUP, "ENDED: SIGHUP"}, {SIGINT, "ENDED: SIGINT"}};

QProcessEnvironment offscreen() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    return environment;
}

QProcessEnvironment withoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(name);
    }
    return environment;
}

}  // namespace

TEST(Replug, ADeviceBehindALinkWarnsOnceAtEachLossAndComesBackBySelf) {
    QTemporaryDir folder;
    const std::string link = folder.filePath("ttyUSB-projector").toStdString();
    auto device = std::make_unique<PtyPeer>();
    pointLink(link, device->devicePath());
    PanelWindow panel(link);
    std::size_t filesAfterFirst = 0;
    for (int loss = 1; loss <= 3; ++loss) {
        SCOPED_TRACE(loss);
        device.reset();  // unplugged: the device node goes
        ::unlink(link.c_str());
        ASSERT_TRUE(
            waitFor([&] { return panel.warnings.size() == static_cast<std::size_t>(loss); }));
        EXPECT_NE(panel.warnings.back().find(link + " (COM1) was lost"), std::string::npos);

        device = std::make_unique<PtyPeer>();
        pointLink(link, device->devicePath());
        ASSERT_TRUE(waitFor([&] { return panel.tk.serialPort().portOpen(); }));
        EXPECT_EQ(device->readAvailable(), "");  // the reopening sent nothing
        std::string received;
        panel.click(names::PowerOn);
        ASSERT_TRUE(waitUntilReceived(*device, received, "C00\r"));
        if (loss == 1) filesAfterFirst = openFiles();
    }
    EXPECT_EQ(panel.warnings.size(), 3u);
    EXPECT_EQ(openFiles(), filesAfterFirst);
}

TEST(DeviceMenu, ARightClickOnComTwoMapsATypedDeviceAndKeepsIt) {
    PtyPeer first, second;
    PanelWindow panel(first.devicePath());
    panel.click(names::Com);
    auto* com2 = panel.find<QRadioButton>(names::Com2);

    // The operator's hand: pick "Other device…" in the menu, type the path.
    QTimer hand;
    hand.setInterval(10);
    QObject::connect(&hand, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) {
                if (action->text().startsWith("Other device")) menu->setActiveAction(action);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        } else if (auto* prompt = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            prompt->findChild<QLineEdit*>()->setText(QString::fromStdString(second.devicePath()));
            prompt->accept();
        }
    });
    hand.start();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                                 com2->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(com2, &rightClick);
    hand.stop();

    EXPECT_EQ(com2->toolTip(), QString::fromStdString("COM2: " + second.devicePath()));
    EXPECT_EQ(QSettings("kr60p-panel", "kr60p-panel").value("devices/COM2").toString(),
              QString::fromStdString(second.devicePath()));
    EXPECT_TRUE(panel.warnings.empty());
    QSettings("kr60p-panel", "kr60p-panel").clear();
}

// Whatever the system lists, the list says what COM1 and COM2 stand for.
TEST(Program, ListsPortsWithoutADisplay) {
    PtyPeer peer;
    QProcess list;
    list.setProcessEnvironment(withoutDisplay());
    list.start(KR60P_PANEL, {"--list-ports", "--com1", "tcp://10.0.0.5:4001", "--com2",
                             QString::fromStdString(peer.devicePath())});
    ASSERT_TRUE(list.waitForFinished(10'000));
    EXPECT_EQ(list.exitCode(), 0);
    const QString out = list.readAllStandardOutput();
    EXPECT_TRUE(out.startsWith("DEVICE ")) << out.toStdString();
    EXPECT_TRUE(out.contains(
        QRegularExpression(R"(\ntcp://10\.0\.0\.5:4001 +- +device server, raw TCP +COM1\n)")))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QRegularExpression(
        "\\n" + QRegularExpression::escape(QString::fromStdString(peer.devicePath())) +
        " .* COM2\\n")))
        << out.toStdString();
}

TEST(Program, WithoutADisplaySaysSoInOneLine) {
    std::string errors;
    QProcessEnvironment environment = withoutDisplay();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    EXPECT_EQ(runPanel({}, environment, errors), 1);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find("cannot connect to a display"), std::string::npos) << errors;
}

TEST(Program, AKeptDeviceThatIsGoneStopsStartUpAndOffersAnother) {
    const std::string errors = startWithKeptDevice("/dev/serial/by-id/usb-gone-if00");
    EXPECT_NE(errors.find("There is no serial device /dev/serial/by-id/usb-gone-if00"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("\"Choose device…\""), std::string::npos) << errors;
}

TEST(Window, ItsTitleBarStaysOnAScreenTooSmallForIt) {
    PtyPeer device;
    PanelWindow panel(device.devicePath());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_GE(panel.window()->frameGeometry().top(), area.top());
    EXPECT_GE(panel.window()->frameGeometry().left(), area.left());
}

TEST(Program, ALogThatCannotBeWrittenStopsStartUpWithStatusTwo) {
    struct Case {
        std::string path;
        std::string reason;
    };
    std::vector<Case> cases{{"/no/such/folder/traffic.log", "No such file or directory"},
                            {"/tmp", "Is a directory"},
                            {"/proc/version", "Invalid argument"}};
    // Permissions hold for everyone but root.
    const QTemporaryDir folder;
    const std::string locked = folder.filePath("locked.log").toStdString();
    if (::geteuid() != 0) {
        QFile(QString::fromStdString(locked)).open(QIODevice::WriteOnly);
        ::chmod(locked.c_str(), 0);
        cases.push_back({locked, "Permission denied"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string errors;
        EXPECT_EQ(runPanel({"--log", QString::fromStdString(c.path)}, withoutDisplay(), errors), 2);
        EXPECT_EQ(errors, "kr60p-panel: cannot write the traffic log to " + c.path + ": " +
                              c.reason + ".\n");
    }
    // With a display named that is not there, the box cannot show: still 2.
    QProcessEnvironment unreachable = withoutDisplay();
    unreachable.insert("DISPLAY", ":97");
    std::string errors;
    EXPECT_EQ(runPanel({"--log", "/no/such/folder/traffic.log"}, unreachable, errors), 2);
    EXPECT_NE(errors.find("cannot connect to the display :97"), std::string::npos) << errors;
}

// What the system says about a path, in the panel's words; a path too long to
// read is shortened in its middle, on standard error as in the box.
TEST(Program, ADeviceThatCannotBeUsedIsToldAsTheSystemSaysIt) {
    QTemporaryDir folder;
    const std::string longName = folder.filePath(QString(300, 'x')).toStdString();
    struct Case {
        std::string path;
        std::string said;
    };
    for (const Case& c : std::vector<Case>{
             {"/etc/passwd", "/etc/passwd is not a serial device: it is a regular file."},
             {"/tmp", "/tmp is a folder, not a serial device."},
             {"/dev/null", "/dev/null is not a serial device: it is a device of another kind."},
             {longName, "cannot be opened: File name too long."},
         }) {
        SCOPED_TRACE(c.path.substr(0, 40));
        toolkit::qt::QtSerialDevices devices;
        const auto problem = devices.problemWith(c.path);
        ASSERT_TRUE(problem);
        EXPECT_NE(projector::faultText(*problem).find(c.said), std::string::npos)
            << projector::faultText(*problem);
        EXPECT_FALSE(problem->dialoutHelps);
        EXPECT_LT(projector::faultText(*problem).size(), 300u);
    }

    const std::string errors = startWithKeptDevice("/dev/" + QString(200'000, 'y'));
    EXPECT_LT(errors.size(), 2'000u);
    EXPECT_NE(errors.find("yyyyyyyy…yyyyyyyy"), std::string::npos) << errors;
}

// SIGTERM, SIGHUP and SIGINT end the panel as END does: the port closed, its
// lock file gone, and the log's last lines say so and why.
TEST(Program, ASignalEndsThePanelInOrder) {
    for (const auto& [signal, why] : kEndingSignals) {
        SCOPED_TRACE(why);
        PtyPeer device;
        QTemporaryDir folder;
        const QString log = folder.filePath("traffic.log");
        QProcess panel;
        panel.setProcessEnvironment(offscreen());
        panel.start(KR60P_PANEL,
                    {"--com1", QString::fromStdString(device.devicePath()), "--log", log});
        QString lockName = QString::fromStdString(device.devicePath()).mid(1).replace('/', '_');
        const QString lockFile = "/run/lock/LCK.._" + lockName;
        ASSERT_TRUE(waitFor([&] {
            QFile file(log);
            return file.open(QIODevice::ReadOnly) && file.readAll().contains("SWITCHED");
        }));
        EXPECT_TRUE(QFile::exists(lockFile));
        ::kill(static_cast<pid_t>(panel.processId()), signal);
        ASSERT_TRUE(panel.waitForFinished(5'000));
        EXPECT_EQ(panel.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(panel.exitCode(), 0);
        EXPECT_FALSE(QFile::exists(lockFile));
        QFile file(log);
        file.open(QIODevice::ReadOnly);
        const QStringList lines = QString(file.readAll()).trimmed().split('\n');
        ASSERT_GE(lines.size(), 2);
        EXPECT_TRUE(lines[lines.size() - 2].contains(
            QString::fromStdString(" CLOSED COM1 " + device.devicePath())))
            << lines[lines.size() - 2].toStdString();
        EXPECT_TRUE(lines.last().contains(QString::fromStdString(why)))
            << lines.last().toStdString();
    }
}

// The program's own wiring: --log hears the link, line by line.
TEST(Program, ItsLogHearsEveryExchangeAndTheLoss) {
    PtyPeer device;
    QTemporaryDir folder;
    const std::string path = folder.filePath("traffic.log").toStdString();
    app::Options options;
    options.devices = {{1, device.devicePath()}};
    std::FILE* log = trafficlog::openLog(path);
    {
        app::PanelProgram program(options, log);
        program.form().Form_Load();
        QPushButton* powerOn = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == names::Window && top->isVisible()) {
                powerOn = top->findChild<QPushButton*>(names::PowerOn);
            }
        }
        ASSERT_NE(powerOn, nullptr);
        QTest::mouseClick(powerOn, Qt::LeftButton);
        std::string received;
        ASSERT_TRUE(waitUntilReceived(device, received, "C00\r"));
        device.write("\x06");
        const auto logged = [&path](const char* what) {
            QFile file(QString::fromStdString(path));
            return file.open(QIODevice::ReadOnly) && file.readAll().contains(what);
        };
        ASSERT_TRUE(waitFor([&] { return logged(" RX ACK | 06"); }));
        QTimer boxCloser;  // the loss's box
        QObject::connect(&boxCloser, &QTimer::timeout, [] {
            if (auto* box = QApplication::activeModalWidget()) box->close();
        });
        boxCloser.start(5);
        device.hangUp();
        EXPECT_TRUE(waitFor([&] { return logged(" LOST COM1 "); }));
        EXPECT_TRUE(logged(" TX C 0 0 CR | 43 30 30 0D"));
        program.form().end("the test is over");
    }
    std::fclose(log);
}

// The command line: which device each number stands for, the log, and what
// is refused.
TEST(Program, ItsOptionsAreReadAsGiven) {
    const app::Options both =
        app::readOptions({"kr60p-panel", "--com1", "/dev/a", "--com2", "tcp://b:1", "--log", "-"});
    EXPECT_EQ(both.devices, (std::map<int, std::string>{{1, "/dev/a"}, {2, "tcp://b:1"}}));
    EXPECT_EQ(both.log, "-");
    EXPECT_FALSE(both.exitText);
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"kr60p-panel", "--com2", "rfc2217://b"},
          {"kr60p-panel", "--nonsense"},
          {"kr60p-panel", "extra"}}) {
        EXPECT_EQ(app::readOptions(wrong).exitStatus, 2) << wrong[1];
    }
}

// The start-up failure box runs before the program's event loop; a signal
// must end the program all the same, with the box open.
TEST(Program, ASignalEndsThePanelWhileItsStartUpBoxIsOpen) {
    for (const auto& [signal, why] : kEndingSignals) {
        SCOPED_TRACE(why);
        QTemporaryDir folder;
        const QString log = folder.filePath("traffic.log");
        QProcess panel;
        panel.setProcessEnvironment(offscreen());
        panel.start(KR60P_PANEL, {"--com1", "/dev/ttyUSB-no-such-device", "--log", log});
        std::string errors;
        ASSERT_TRUE(waitFor([&] {
            errors += panel.readAllStandardError().toStdString();
            return errors.find("--list-ports shows") != std::string::npos;
        })) << errors;
        ::kill(static_cast<pid_t>(panel.processId()), signal);
        const bool finished = panel.waitForFinished(5'000);
        if (!finished) panel.kill();
        ASSERT_TRUE(finished);
        EXPECT_EQ(panel.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(panel.exitCode(), 0);
        QFile file(log);
        file.open(QIODevice::ReadOnly);
        const QStringList lines = QString(file.readAll()).trimmed().split('\n');
        EXPECT_TRUE(lines.last().contains(QString::fromStdString(why)))
            << lines.last().toStdString();
    }
}
