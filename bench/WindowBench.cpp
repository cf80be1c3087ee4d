// Figures of the main window, printed for the closing notes
// (bench/run.sh window), on the offscreen platform:
//  1. a full redraw (UpdateDisplayMatrix) of a 127 x 127 matrix with every
//     output routed, and a scroll step by one row, names and cells, painted;
//  2. Ctrl+click on an input of a 127-output matrix with velmora-routersim
//     pacing the line at 9600 baud, as a ratio to the wire floor of
//     9.375 ms a route (8 bytes out and 1 back, 10 bits a byte).

#include "BenchWindow.h"
#include "desktop/ConsoleLine.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <vector>

namespace {

constexpr int Ports = 127;
constexpr int Redraws = 2000;
constexpr int ScrollSteps = 500;
constexpr int Runs = 5;
constexpr double WireFloorMs = 9.375;

void fullRouter(Configuration &setup)
{
    clsRouter &router = BenchWindow::largestRouter(setup);
    router.canSplit = true;
    // Every output routed; every third one split, so columns carry two markers.
    for (int output = 0; output < Ports; ++output) {
        clsRouteState &route = router.RouteState(output);
        route.setVideo(output % 16);
        route.setAudio(output % 3 == 0 ? (output + 5) % 16 : output % 16);
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchWindow bench;
    if (!bench.open(fullRouter))
        return 1;
    frmMainMatrix &window = *bench.window;
    RouterSim &sim = bench.sim;

    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Redraws; ++i)
        window.UpdateDisplayMatrix();
    desktop::writeConsoleOutput(
        QString::asprintf("UpdateDisplayMatrix, 16 columns of a routed 127 x 127 matrix: %.2f us a call (%d calls)\n",
                          double(clock.nsecsElapsed()) / 1e3 / Redraws, Redraws));

    auto *bar = window.findChild<QScrollBar *>(QStringLiteral("VScroll"));
    for (const bool painted : {false, true}) {
        clock.restart();
        for (int i = 0; i < ScrollSteps; ++i) {
            bar->setValue(i % 2 == 0 ? bar->value() + 1 : bar->value() - 1);
            if (painted)
                QCoreApplication::processEvents();
        }
        desktop::writeConsoleOutput(QString::asprintf(
            "Scroll step by one row, names and cells redrawn%s: %.1f us a step (%d steps)\n",
            painted ? " and the window painted" : "", double(clock.nsecsElapsed()) / 1e3 / ScrollSteps, ScrollSteps));
    }
    desktop::writeConsoleOutput(QStringLiteral("\n"));

    desktop::writeConsoleOutput(
        QString::asprintf("Ctrl+click on an input, %d outputs, line paced at 9600 baud (wire floor %.3f ms a route)\n",
                          Ports, WireFloorMs));
    bench.shell.ctrlDown = true;
    auto *input = window.findChild<QWidget *>(QStringLiteral("imgMIn_0"));
    std::vector<double> ratios;
    for (int run = 1; run <= Runs; ++run) {
        const qsizetype framesBefore = sim.frames().size();
        clock.restart();
        QTest::mouseClick(input, Qt::LeftButton, {}, input->rect().center());
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        const double ratio = ms / (Ports * WireFloorMs);
        ratios.push_back(ratio);
        if (!sim.waitForFrames(int(framesBefore) + Ports))
            return 1;
        desktop::writeConsoleOutput(
            QString::asprintf("  run %d: %8.1f ms, %6.3f ms a route, ratio %.3f\n", run, ms, ms / Ports, ratio));
    }
    desktop::writeConsoleOutput(QString::asprintf("  median ratio to the wire floor: %.3f\n", median(ratios)));
    if (!bench.dialogs.shown.isEmpty() || bench.dialogs.beeps != 0) {
        desktop::writeConsoleLine(QStringLiteral("unexpected boxes or beeps"));
        return 1;
    }
    return 0;
}
