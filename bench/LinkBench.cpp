// Figures of the serial link against velmora-routersim, printed for the
// closing notes (bench/run.sh link):
//  1. a 127-route macro replay with the simulator pacing the line at
//     9600 baud both ways, as a ratio to the wire floor of 9.375 ms a route
//     (8 bytes out and 1 back, 10 bits a byte);
//  2. the CPU time spent while a route waits 3 seconds for a silent router.

#include "config/Configuration.h"
#include "desktop/ConsoleLine.h"
#include "link/ConsoleStatusSink.h"
#include "link/MacroRecorder.h"
#include "link/RouteModule.h"
#include "link/RouteTarget.h"
#include "link/SerialLink.h"
#include "model/MacroBank.h"
#include "support/RouterSim.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <ctime>
#include <vector>

namespace {

constexpr int Routes = 127;
constexpr int Runs = 5;
constexpr double WireFloorMs = 9.375;
constexpr int SilentRouter = 1;

struct CountingTarget final : RouteTarget
{
    RouteModule &routes;
    int acknowledged = 0;

    explicit CountingTarget(RouteModule &r) : routes(r) {}

    void Route(clsRouter &Router, int phyOut, int phyIn, int Level) override
    {
        if (routes.TakeRoute(&Router, phyOut, phyIn, -1, Level).acknowledged)
            ++acknowledged;
    }
};

void addFullRouter(Configuration &config, int frameAddress)
{
    auto router = std::make_unique<clsRouter>();
    router->setRouterType(0);
    router->setFrameAddress(frameAddress);
    router->setInputCount(clsRouter::MaxPortIndex);
    router->setOutputCount(clsRouter::MaxPortIndex);
    config.Routers[std::size_t(frameAddress)] = std::move(router);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    const QString appFolder = home.path() + QStringLiteral("/");
    RouterSim sim;
    if (!sim.start(appFolder + QStringLiteral("ports/COM1"),
                   {QStringLiteral("--answer"), QStringLiteral("%1=silent").arg(SilentRouter)})) {
        desktop::writeConsoleLine(QStringLiteral("velmora-routersim did not start"));
        return 1;
    }

    Configuration config;
    config.CommPortName = QStringLiteral("COM1");
    config.ConfigLoaded = true;
    addFullRouter(config, 0);
    addFullRouter(config, SilentRouter);
    MacroBank bank;
    QList<RouteRecord> macro;
    for (int output = 0; output < Routes; ++output)
        macro.append(RouteRecord::pack(0, output, (output * 7) % Routes, 3));
    bank.Macros[0] = macro;
    MacroRecorder recorder;
    ConsoleStatusSink status;
    SerialLink link(config, status, appFolder);
    RouteModule routes(config, bank, recorder, link, status);
    if (link.OpenCommPort())
        return 1;

    desktop::writeConsoleOutput(QString::asprintf(
        "Macro replay, %d routes, line paced at 9600 baud (wire floor %.3f ms a route)\n", Routes, WireFloorMs));
    std::vector<double> ratios;
    for (int run = 1; run <= Runs; ++run) {
        CountingTarget target(routes);
        QElapsedTimer clock;
        clock.start();
        routes.RecallMacro(0, target);
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        const double ratio = ms / (Routes * WireFloorMs);
        ratios.push_back(ratio);
        desktop::writeConsoleOutput(
            QString::asprintf("  run %d: %8.1f ms, %6.3f ms a route, ratio %.3f, %d acknowledged\n", run, ms,
                              ms / Routes, ratio, target.acknowledged));
        if (target.acknowledged != Routes)
            return 1;
    }
    std::sort(ratios.begin(), ratios.end());
    const double median = ratios[ratios.size() / 2];
    desktop::writeConsoleOutput(QString::asprintf("  median ratio to the wire floor: %.3f\n\n", median));

    config.RouterTimeout = 3;
    desktop::writeConsoleOutput(
        QString::asprintf("Waiting %.0f s for a silent router\n", double(config.RouterTimeout)));
    QElapsedTimer wall;
    const std::clock_t cpuStart = std::clock();
    wall.start();
    const bool failed = routes.SendRoute(SilentRouter, 0, 0, 3);
    const double wallMs = double(wall.nsecsElapsed()) / 1e6;
    const double cpuMs = double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC;
    desktop::writeConsoleOutput(QString::asprintf("  wall %.1f ms, CPU %.2f ms: %.3f %% of one core%s\n", wallMs, cpuMs,
                                                  100.0 * cpuMs / wallMs, failed ? "" : " (unexpectedly answered)"));
    return failed ? 0 : 1;
}
