// The control port's figure for the closing notes (bench/run.sh control), on
// the offscreen platform: 127 routes sent over one connection, each command
// written once the previous one's answer has come, to a panel whose line
// velmora-routersim paces at 9600 baud; as a ratio to the wire floor of
// 9.375 ms a route (8 bytes out and 1 back, 10 bits a byte).

#include "BenchWindow.h"
#include "remote/ControlSocketName.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocalSocket>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Ports = 127;
constexpr int Runs = 5;
constexpr double WireFloorMs = 9.375;

// A script on a thread of its own, as a separate client would be: sends
// route r (output r from input run + r) once the answer to r - 1 is in,
// blocking on its socket, while the panel runs on the main thread. The
// milliseconds from the first write to the last answer; -1 on any answer but "ok".
double timedRun(int run)
{
    double ms = -1;
    QThread *script = QThread::create([&] {
        QLocalSocket socket;
        socket.connectToServer(controlSocketName());
        if (!socket.waitForConnected(5000))
            return;
        QElapsedTimer clock;
        clock.start();
        for (int r = 0; r < Ports; ++r) {
            socket.write(QStringLiteral("route 0 %1 %2\n").arg(r).arg((run + r) % Ports).toUtf8());
            while (!socket.canReadLine()) {
                if (!socket.waitForReadyRead(60000))
                    return;
            }
            if (socket.readLine() != "ok\n")
                return;
        }
        ms = double(clock.nsecsElapsed()) / 1e6;
    });
    QEventLoop loop;
    QObject::connect(script, &QThread::finished, &loop, &QEventLoop::quit);
    script->start();
    loop.exec();
    script->wait();
    delete script;
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchWindow bench;
    if (!bench.open([](Configuration &setup) { (void)BenchWindow::largestRouter(setup); }))
        return 1;

    std::printf("%d routes over one control-port connection, each after the previous answer, line paced at "
                "9600 baud (wire floor %.3f ms a route)\n",
                Ports, WireFloorMs);
    std::vector<double> ratios;
    for (int run = 1; run <= Runs; ++run) {
        const double ms = timedRun(run);
        if (ms < 0) {
            std::fprintf(stderr, "a route was not acknowledged\n");
            return 1;
        }
        const double ratio = ms / (Ports * WireFloorMs);
        ratios.push_back(ratio);
        std::printf("  run %d: %8.1f ms, %6.3f ms a route, ratio %.3f\n", run, ms, ms / Ports, ratio);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("  median ratio to the wire floor: %.3f\n", ratios[ratios.size() / 2]);
    if (bench.sim.frames().size() != Runs * Ports) {
        std::fprintf(stderr, "%lld frames on the line, %d expected\n", qlonglong(bench.sim.frames().size()),
                     Runs * Ports);
        return 1;
    }
    return 0;
}
