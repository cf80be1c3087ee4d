// The control port's figure for the closing notes (bench/run.sh control), on
// the offscreen platform: 127 routes sent over one connection, each command
// written once the previous one's answer has come, to a panel whose line
// velmora-routersim paces at 9600 baud; as a ratio to the wire floor of
// 9.375 ms a route (8 bytes out and 1 back, 10 bits a byte). Then a flood:
// 300 clients that each connect, write 50 routes and leave, over and over,
// while a fresh client asks `state 0 0` every 100 ms: the time from its
// connect to the answer, and the panel's resident memory. The fresh client
// connects as velmora-ctl does (desktop::connectLocalSocket). The flooders run in
// a process of their own (this program started again with --flood), as real
// clients would, so that the figures are the panel's, not this process's
// threads competing with it; only the fresh client is a thread here, blocked
// on its socket while it waits. Last, what a connect that finds the server's
// backlog full spends waiting for its deadline: wall and processor time.

#include "BenchWindow.h"
#include "desktop/ConsoleLine.h"
#include "desktop/net/LocalConnect.h"
#include "remote/control/ControlSocketName.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Ports = 127;
constexpr int Runs = 5;
constexpr double WireFloorMs = 9.375;

// A script that sends route r (output r from input run + r) once the answer
// to r - 1 is in, blocking on its socket. The milliseconds from the first
// write to the last answer; -1 on any answer but "ok".
double timedRun(int run)
{
    return timedControlScript([run](QLocalSocket &socket) {
        for (int r = 0; r < Ports; ++r) {
            socket.write(QStringLiteral("route 0 %1 %2\n").arg(r).arg((run + r) % Ports).toUtf8());
            while (!socket.canReadLine()) {
                if (!socket.waitForReadyRead(60000))
                    return false;
            }
            if (socket.readLine() != "ok\n")
                return false;
        }
        return true;
    });
}

constexpr int Flooders = 300;
constexpr int Probes = 30;

// Kilobytes of the process's resident memory ("VmRSS") or its peak ("VmHWM").
long long memoryKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field)) + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Flooders clients on the socket name, each writing its routes and leaving,
// again and again until the process is killed.
int flood(const QString &name)
{
    QByteArray routes;
    for (int i = 0; i < 50; ++i)
        routes += "route 0 1 2\n";
    std::vector<std::unique_ptr<QLocalSocket>> sockets;
    for (int i = 0; i < Flooders; ++i) {
        auto *socket = sockets.emplace_back(std::make_unique<QLocalSocket>()).get();
        QObject::connect(socket, &QLocalSocket::connected, socket, [socket, routes] {
            socket->write(routes);
            socket->disconnectFromServer();
        });
        QObject::connect(socket, &QLocalSocket::stateChanged, socket, [socket, name](QLocalSocket::LocalSocketState s) {
            if (s == QLocalSocket::UnconnectedState)
                QTimer::singleShot(0, socket, [socket, name] { socket->connectToServer(name); });
        });
        socket->connectToServer(name);
    }
    return QCoreApplication::exec();
}

// The longest the panel's thread left a timer of HeartbeatMs waiting beyond
// its time: how long one turn of its event loop took at most, nested loops
// (a route's reply wait) included.
class HeartbeatLag
{
public:
    static constexpr int HeartbeatMs = 2;

    HeartbeatLag()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            const double ms = double(m_clock.nsecsElapsed()) / 1e6;
            m_worstMs = std::max(m_worstMs, ms - HeartbeatMs);
            m_clock.start();
        });
        m_clock.start();
        m_timer.start(HeartbeatMs);
    }
    [[nodiscard]] double worstMs() const { return m_worstMs; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_worstMs = 0;
};

// A fresh client's figures: milliseconds to connect, and from its command to the answer.
struct Probe
{
    double connectMs = -1;
    double answerMs = -1;
};

// The answer to a fresh client's state; answerMs stays -1 when turned away or unanswered.
Probe probe()
{
    Probe timed;
    QLocalSocket socket;
    QElapsedTimer clock;
    clock.start();
    if (!desktop::connectLocalSocket(socket, controlSocketName(), QDeadlineTimer(5000)))
        return timed;
    timed.connectMs = double(clock.nsecsElapsed()) / 1e6;
    socket.write("state 0 0\n");
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(5000))
            return timed;
    }
    if (socket.readLine().startsWith("video "))
        timed.answerMs = double(clock.nsecsElapsed()) / 1e6 - timed.connectMs;
    return timed;
}

struct Spread
{
    double median;
    double worst;
};

Spread spread(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

// Adds the run's answer times to answered and its probes turned away to turnedAwayInAll.
int floodRun(int run, std::vector<double> &answered, int &turnedAwayInAll)
{
    std::vector<double> ms;
    std::vector<double> connectMs;
    std::vector<double> answerMs;
    int turnedAway = 0;
    const long long before = memoryKb("VmRSS:");
    const HeartbeatLag lag;
    QProcess flooders;
    flooders.setProcessChannelMode(QProcess::ForwardedChannels);
    flooders.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--flood"), controlSocketName()});
    if (!flooders.waitForStarted()) {
        desktop::writeConsoleOutput(QString::asprintf("  flood run %d: the flooding process did not start\n", run));
        return 1;
    }
    whileThePanelRuns([&] {
        QThread::msleep(500);
        for (int i = 0; i < Probes; ++i) {
            const Probe timed = probe();
            if (timed.answerMs < 0) {
                ++turnedAway;
            } else {
                ms.push_back(timed.connectMs + timed.answerMs);
                connectMs.push_back(timed.connectMs);
                answerMs.push_back(timed.answerMs);
            }
            QThread::msleep(100);
        }
    });
    flooders.kill();
    flooders.waitForFinished();
    const long long after = memoryKb("VmRSS:");
    answered.insert(answered.end(), ms.begin(), ms.end());
    turnedAwayInAll += turnedAway;
    if (ms.empty()) {
        desktop::writeConsoleOutput(
            QString::asprintf("  flood run %d: no state answered (%d turned away)\n", run, turnedAway));
        return 1;
    }
    desktop::writeConsoleOutput(QString::asprintf(
        "  flood run %d: state answered in median %.2f ms, worst %.2f ms (%zu answered, %d turned away);"
        " resident memory %lld -> %lld KB\n",
        run, spread(ms).median, spread(ms).worst, ms.size(), turnedAway, before, after));
    desktop::writeConsoleOutput(QString::asprintf(
        "    of which connecting: median %.2f ms, worst %.2f ms; answering once connected: median %.2f ms,"
        " worst %.2f ms; the panel's longest turn: %.2f ms\n",
        spread(connectMs).median, spread(connectMs).worst, spread(answerMs).median, spread(answerMs).worst,
        lag.worstMs()));
    return 0;
}

// A connect to a server whose backlog is full sleeps until its deadline
// (velmora-ctl's wait for a busy panel): 0 once its figures are printed.
int backlogWait()
{
    constexpr int DeadlineMs = 500;
    QTemporaryDir folder;
    QLocalServer server;
    server.setListenBacklogSize(1);
    if (!server.listen(folder.filePath(QStringLiteral("server"))))
        return 1;
    std::vector<std::unique_ptr<QLocalSocket>> queued;
    while (queued.size() < 16) {
        auto client = std::make_unique<QLocalSocket>();
        QElapsedTimer wall;
        wall.start();
        const std::clock_t processor = std::clock();
        if (desktop::connectLocalSocket(*client, server.fullServerName(), QDeadlineTimer(DeadlineMs))) {
            queued.push_back(std::move(client));
            continue;
        }
        desktop::writeConsoleOutput(QString::asprintf(
            "A connect finding the backlog full, deadline %d ms: waited %.1f ms, of it %.2f ms on the processor\n",
            DeadlineMs, double(wall.nsecsElapsed()) / 1e6, double(std::clock() - processor) * 1000 / CLOCKS_PER_SEC));
        return 0;
    }
    desktop::writeConsoleLine(QStringLiteral("the server's backlog never filled"));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--flood") == 0) {
        const QCoreApplication flooding(argc, argv);
        return flood(QString::fromLocal8Bit(argv[2]));
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchWindow bench;
    if (!bench.openWithLargestRouter())
        return 1;

    desktop::writeConsoleOutput(
        QString::asprintf("%d routes over one control-port connection, each after the previous answer, line paced at "
                          "9600 baud (wire floor %.3f ms a route)\n",
                          Ports, WireFloorMs));
    std::vector<double> ratios;
    for (int run = 1; run <= Runs; ++run) {
        const double ms = timedRun(run);
        if (ms < 0) {
            desktop::writeConsoleLine(QStringLiteral("a route was not acknowledged"));
            return 1;
        }
        const double ratio = ms / (Ports * WireFloorMs);
        ratios.push_back(ratio);
        desktop::writeConsoleOutput(
            QString::asprintf("  run %d: %8.1f ms, %6.3f ms a route, ratio %.3f\n", run, ms, ms / Ports, ratio));
    }
    std::sort(ratios.begin(), ratios.end());
    desktop::writeConsoleOutput(
        QString::asprintf("  median ratio to the wire floor: %.3f\n", ratios[ratios.size() / 2]));
    if (bench.sim.frames().size() != Runs * Ports) {
        desktop::writeConsoleLine(QString::asprintf("%lld frames on the line, %d expected",
                                                    qlonglong(bench.sim.frames().size()), Runs * Ports));
        return 1;
    }

    desktop::writeConsoleOutput(QString::asprintf(
        "%d clients writing 50 routes each and leaving, over and over; a fresh client's state every 100 ms\n",
        Flooders));
    int failed = 0;
    std::vector<double> answered;
    int turnedAway = 0;
    for (int run = 1; run <= Runs; ++run)
        failed += floodRun(run, answered, turnedAway);
    if (!answered.empty()) {
        desktop::writeConsoleOutput(QString::asprintf(
            "  over %d runs: state answered in median %.2f ms, worst %.2f ms (%zu answered, %d turned away)\n", Runs,
            spread(answered).median, spread(answered).worst, answered.size(), turnedAway));
    }
    desktop::writeConsoleOutput(
        QString::asprintf("  peak resident memory of the panel's process: %lld KB\n", memoryKb("VmHWM:")));
    failed += backlogWait();
    return failed == 0 ? 0 : 1;
}
