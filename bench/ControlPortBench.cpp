// The control port's figure for the closing notes (bench/run.sh control), on
// the offscreen platform: 127 routes sent over one connection, each command
// written once the previous one's answer has come, to a panel whose line
// velmora-routersim paces at 9600 baud; as a ratio to the wire floor of
// 9.375 ms a route (8 bytes out and 1 back, 10 bits a byte).

#include "BenchWindow.h"
#include "app/GlobalState.h"
#include "remote/ControlSocketName.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Ports = 127;
constexpr int Runs = 5;
constexpr double WireFloorMs = 9.375;

void fullRouter()
{
    auto router = std::make_unique<clsRouter>();
    router->setRouterType(0);
    router->setFrameAddress(0);
    router->setInputCount(Ports - 1);
    router->setOutputCount(Ports - 1);
    GlobalState &state = Globals();
    state.Routers[0] = std::move(router);
    state.CommPortName = QStringLiteral("COM1");
    state.ConfigLoaded = true;
}

// Sends route r (output r from input run + r) once the answer to r - 1 is in;
// the milliseconds from the first write to the last answer, -1 on any
// answer but "ok".
double timedRun(int run)
{
    QLocalSocket socket;
    socket.connectToServer(controlSocketName());
    if (!socket.waitForConnected(5000))
        return -1;
    int sent = 0;
    int answered = 0;
    bool failed = false;
    const auto sendNext = [&] {
        socket.write(QStringLiteral("route 0 %1 %2\n").arg(sent).arg((run + sent) % Ports).toUtf8());
        ++sent;
    };
    QObject::connect(&socket, &QLocalSocket::readyRead, [&] {
        while (socket.canReadLine()) {
            failed = failed || socket.readLine() != "ok\n";
            if (++answered < Ports)
                sendNext();
        }
    });
    QElapsedTimer clock;
    clock.start();
    sendNext();
    if (!QTest::qWaitFor([&] { return answered == Ports || failed; }, 60000) || failed)
        return -1;
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchWindow bench;
    if (!bench.open(fullRouter))
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
