// kr60p-gateway against the simulator on a pseudo-terminal: a PJLink POWR ?
// from request to answer beside the bare CR0 exchange on a line of its own,
// fifty clients polling once a second and the journal's lines meanwhile, a
// share client's wait under three and fifty pollers, the gateway's memory
// and idle CPU, and a change on the line to its Class 2 notification. Prints
// rows 14 to 20 of the benchmark table. BENCH_SECONDS shortens the polling
// run (60 by default).
// Usage: bench_gateway KR60P_SIM KR60P_GATEWAY

#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QProcess>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Table.h"

namespace {

double percentile(std::vector<double> values, double q) {
    if (values.empty()) return NAN;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1,
                           static_cast<std::size_t>(q * static_cast<double>(values.size())))];
}

bool spinUntil(const std::function<bool()>& condition, int deadlineMs = 10'000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > deadlineMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// A simulator on its own pseudo-terminal, reached through a link in `folder`.
std::unique_ptr<QProcess> simulator(const QString& program, const QString& link) {
    auto process = std::make_unique<QProcess>();
    process->start(program, {"--link", link, "--quiet"});
    spinUntil([&] { return QFile::exists(link); });
    return process;
}

// One request and its answer, in milliseconds; NAN when none came.
double exchange(QIODevice& device, const QByteArray& request) {
    QElapsedTimer timer;
    timer.start();
    device.write(request);
    QByteArray answer;
    if (!spinUntil([&] {
            answer += device.readAll();
            return answer.endsWith('\r');
        })) {
        return NAN;
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

long residentKiB(qint64 pid) {
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

double cpuSeconds(qint64 pid) {
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return NAN;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.at(11).toDouble() + fields.at(12).toDouble()) /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

int linesSent(const QString& log) {
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    return static_cast<int>(file.readAll().count(" TX "));
}

// PJLink clients, each asking POWR ? once a second at its own moment.
struct Pollers {
    Pollers(quint16 port, int count)
        : since(static_cast<std::size_t>(count)), buffers(static_cast<std::size_t>(count)) {
        std::mt19937 random(4352);
        for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
            auto client = std::make_unique<QTcpSocket>();
            client->connectToHost("127.0.0.1", port);
            client->waitForConnected(5'000);
            QTcpSocket* socket = client.get();
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket, i] {
                buffers[i] += socket->readAll();
                for (qsizetype end; (end = buffers[i].indexOf('\r')) >= 0;) {
                    const QByteArray line = buffers[i].left(end);
                    buffers[i].remove(0, end + 1);
                    if (line.startsWith("%1POWR=")) {
                        ++answered;
                        times.push_back(static_cast<double>(since[i].nsecsElapsed()) / 1e6);
                    }
                }
            });
            auto timer = std::make_unique<QTimer>();
            timer->setInterval(1000);
            QObject::connect(timer.get(), &QTimer::timeout, [this, socket, i] {
                since[i].start();
                ++asked;
                socket->write("%1POWR ?\r");
            });
            QTimer::singleShot(static_cast<int>(random() % 1000), timer.get(),
                               [t = timer.get()] { t->start(); });
            clients.push_back(std::move(client));
            timers.push_back(std::move(timer));
        }
    }
    void stop() {
        for (auto& timer : timers) timer->stop();
    }
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    std::vector<std::unique_ptr<QTimer>> timers;
    std::vector<QElapsedTimer> since;
    std::vector<QByteArray> buffers;
    std::vector<double> times;
    int asked = 0;
    int answered = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc < 3) return 2;
    const QString simProgram = argv[1];
    const QString gatewayProgram = argv[2];
    const int seconds = qEnvironmentVariableIsSet("BENCH_SECONDS")
                            ? qEnvironmentVariableIntValue("BENCH_SECONDS")
                            : 60;
    QTemporaryDir folder;

    // The bare exchange: CR0 on the serial line, no gateway.
    std::vector<double> bare;
    {
        auto sim = simulator(simProgram, folder.filePath("bare"));
        QSerialPort port(folder.filePath("bare"));
        port.setBaudRate(19200);
        if (!port.open(QIODevice::ReadWrite)) return 1;
        for (int i = 0; i < 30; ++i) bare.push_back(exchange(port, "CR0\r"));
    }

    auto sim = simulator(simProgram, folder.filePath("projector"));
    const QString log = folder.filePath("gateway.log");
    QProcess gateway;
    gateway.start(gatewayProgram, {"--device", folder.filePath("projector"), "--listen",
                                   "127.0.0.1:0", "--share", "tcp://127.0.0.1:0", "--log", log});
    quint16 port = 0;
    quint16 sharePort = 0;
    spinUntil([&] {
        QFile file(log);
        if (!file.open(QIODevice::ReadOnly)) return false;
        const QByteArray text = file.readAll();
        const auto at = text.indexOf("PJLINK on 127.0.0.1:");
        const auto share = text.indexOf("SHARE on tcp://127.0.0.1:");
        if (at < 0 || share < 0) return false;
        port = static_cast<quint16>(text.mid(at + 20).split(':').front().toInt());
        sharePort = static_cast<quint16>(text.mid(share + 25).split(':').front().toInt());
        return true;
    });

    // POWR ? through the gateway: a second apart, so that each reaches the
    // line; and again at once, answered from the second-old answer.
    std::vector<double> throughLine, fromAnswer;
    {
        QTcpSocket client;
        client.connectToHost("127.0.0.1", port);
        client.waitForConnected(5'000);
        client.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        spinUntil([&] { return client.readAll().endsWith('\r'); });
        for (int i = 0; i < 20; ++i) {
            runFor(1050);
            throughLine.push_back(exchange(client, "%1POWR ?\r"));
            fromAnswer.push_back(exchange(client, "%1POWR ?\r"));
        }
    }
    const double bareMedian = percentile(bare, 0.5);
    const double lineMedian = percentile(throughLine, 0.5);
    row(14, "kr60p-gateway: POWR ? from request to answer, 20 a second apart, beside CR0 alone",
        format("through the gateway median %.3f ms (p99 %.3f); CR0 on the line alone median "
               "%.3f ms; the gateway's own cost %.3f ms; answered from the second-old answer "
               "median %.3f ms",
               lineMedian, percentile(throughLine, 0.99), bareMedian, lineMedian - bareMedian,
               percentile(fromAnswer, 0.5)),
        "gateway's cost < 1 ms", lineMedian - bareMedian < 1.0);

    // Fifty clients, each asking POWR ? once a second at its own moment; the
    // journal (standard error) meanwhile.
    const int before = linesSent(log);
    gateway.readAllStandardError();
    Pollers fifty(port, 50);
    runFor(seconds * 1000);
    fifty.stop();
    runFor(1000);
    const int exchanges = linesSent(log) - before;
    const auto journalLines = gateway.readAllStandardError().count('\n');
    row(15, format("kr60p-gateway: 50 clients, POWR ? once a second each, for %d s", seconds),
        format("%d asked, %d answered; answer time median %.3f ms, p99 %.3f ms; %d exchanges "
               "reached the line (%.2f a second)",
               fifty.asked, fifty.answered, percentile(fifty.times, 0.5),
               percentile(fifty.times, 0.99), exchanges, exchanges / static_cast<double>(seconds)),
        "every answer; the pollers cost the line no more than the gateway's own poll",
        fifty.answered == fifty.asked && exchanges <= 2 * seconds + 2);
    row(19, format("kr60p-gateway: the journal's lines while 50 clients poll for %d s", seconds),
        format("%lld lines (the new client once; every request in --log only)",
               static_cast<long long>(journalLines)),
        "a handful", journalLines <= 5);
    const long busyKiB = residentKiB(gateway.processId());

    // A share client's CR0 beside the pollers: its time beyond the bare
    // exchange is what it waited for the exchange on the wire ahead of it.
    std::string waits;
    bool withinOne = true;
    std::mt19937 random(2217);
    for (const int count : {3, 50}) {
        Pollers pollers(port, count);
        runFor(1500);
        QTcpSocket share;
        share.connectToHost("127.0.0.1", sharePort);
        share.waitForConnected(5'000);
        share.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        std::vector<double> beyond;
        for (int i = 0; i < 20; ++i) {
            runFor(300 + static_cast<int>(random() % 400));
            beyond.push_back(exchange(share, "CR0\r") - bareMedian);
        }
        pollers.stop();
        const double worst = *std::max_element(beyond.begin(), beyond.end());
        waits += format("%s%d pollers: median %.3f ms, worst %.3f ms", waits.empty() ? "" : "; ",
                        count, percentile(beyond, 0.5), worst);
        withinOne = withinOne && worst < 2 * bareMedian + 5;
        runFor(1000);
    }
    row(20, "kr60p-gateway: a share client's CR0 beyond the bare exchange, 20 each beside pollers",
        waits + format(" (the bare exchange %.3f ms)", bareMedian),
        "at most one exchange ahead of it", withinOne);

    // Idle: no client, and nobody to notify.
    runFor(1000);
    double cpuBefore = cpuSeconds(gateway.processId());
    runFor(10'000);
    const double idleCpu = (cpuSeconds(gateway.processId()) - cpuBefore) / 10.0 * 100.0;

    // A change made through the share, from the write to the notification
    // at a --notify host; a second gateway, which has one to tell from its
    // start, so that it polls.
    gateway.terminate();
    gateway.waitForFinished(5'000);
    QUdpSocket controller;
    controller.bind(QHostAddress("127.0.0.2"), 0);
    gateway.start(gatewayProgram,
                  {"--device", folder.filePath("projector"), "--listen", "127.0.0.1:0", "--share",
                   "tcp://127.0.0.1:0", "--log", log, "--notify",
                   QString("127.0.0.2:%1").arg(controller.localPort())});
    spinUntil([&] {
        QFile file(log);
        if (!file.open(QIODevice::ReadOnly)) return false;
        const QByteArray text = file.readAll();
        const auto share = text.lastIndexOf("SHARE on tcp://127.0.0.1:");
        if (share < 0 || text.lastIndexOf("log started") > share) return false;
        sharePort = static_cast<quint16>(text.mid(share + 25).split(':').front().toInt());
        return true;
    });
    std::vector<double> notified;
    {
        QTcpSocket share;
        share.connectToHost("127.0.0.1", sharePort);
        share.waitForConnected(5'000);
        runFor(1500);
        for (int i = 0; i < 20; ++i) {
            while (controller.hasPendingDatagrams()) controller.receiveDatagram();
            QElapsedTimer timer;
            timer.start();
            share.write(i % 2 == 0 ? "C06\r" : "C05\r");
            if (spinUntil([&] {
                    return controller.hasPendingDatagrams() &&
                           controller.receiveDatagram().data().startsWith("%2INPT=");
                })) {
                notified.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            }
            runFor(1100);
        }
    }
    row(18,
        "kr60p-gateway: an input chosen through the share, to its %2INPT= notification, 20 times",
        format("%zu of 20 told; median %.3f ms, p99 %.3f ms", notified.size(),
               percentile(notified, 0.5), percentile(notified, 0.99)),
        "every change told, within the second",
        notified.size() == 20 && percentile(notified, 0.99) < 1000);

    runFor(1000);
    cpuBefore = cpuSeconds(gateway.processId());
    runFor(10'000);
    const double pollingCpu = (cpuSeconds(gateway.processId()) - cpuBefore) / 10.0 * 100.0;
    const long idleKiB = residentKiB(gateway.processId());
    std::printf(
        "| 16 | kr60p-gateway: resident memory | %.1f MiB idle, %.1f MiB with 50 clients | "
        "report | - |\n",
        static_cast<double>(idleKiB) / 1024.0, static_cast<double>(busyKiB) / 1024.0);
    row(17, "kr60p-gateway: CPU while idle, 10 s each",
        format("nobody to notify: %.2f %% of one core; with a --notify host (polling one "
               "status a second for its notifications): %.2f %%",
               idleCpu, pollingCpu),
        "< 0.1 % with none", idleCpu < 0.1);
    gateway.terminate();
    gateway.waitForFinished(5'000);
    return 0;
}
