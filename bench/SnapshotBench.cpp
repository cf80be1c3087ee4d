// A snapshot recall's figure for the closing notes (bench/run.sh snapshot),
// on the offscreen platform: a snapshot of 127 outputs, each from another
// input than the run before, recalled through one control-port connection on
// the largest router, whose line velmora-routersim paces at 9600 baud; from
// writing the command to its answer after the last acknowledgement, as a
// ratio to the wire floor of 9.375 ms a route.

#include "BenchFigures.h"
#include "desktop/WholeFile.h"

namespace {

constexpr int Runs = 5;

// Output r from input run + r, every output of the largest router.
QByteArray snapshot(int run)
{
    QByteArray text = "output,video,audio\r\n";
    for (int r = 0; r < BenchPorts; ++r) {
        const QByteArray input = QByteArray::number((run + r) % BenchPorts + 1);
        text += QByteArray::number(r + 1) + ',' + input + ',' + input + "\r\n";
    }
    return text;
}

// The milliseconds from the command to its answer; -1 unless every route was taken.
double timedRecall()
{
    return timedControlScript([](QLocalSocket &socket) {
        socket.write("snapshot recall bench\n");
        for (;;) {
            while (!socket.canReadLine()) {
                if (!socket.waitForReadyRead(60000))
                    return false;
            }
            const QByteArray line = socket.readLine();
            if (!line.startsWith("progress "))
                return line.startsWith("ok ") && line.contains(" 127 routes taken");
        }
    });
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchWindow bench;
    if (!bench.openWithLargestRouter())
        return 1;
    desktop::writeConsoleOutput(QString::asprintf(
        "A snapshot recall of %d routes over the control port, line paced at 9600 baud (wire floor %.3f ms a route)\n",
        BenchPorts, WireFloorMs));
    std::vector<double> ratios;
    for (int run = 1; run <= Runs; ++run) {
        QDir().mkpath(bench.panel->dataFolder() + QStringLiteral("snapshots"));
        desktop::writeWholeFile(bench.panel->dataFolder() + QStringLiteral("snapshots/bench.csv"), snapshot(run));
        const double ms = timedRecall();
        if (ms < 0) {
            desktop::writeConsoleLine(QStringLiteral("the recall did not take every route"));
            return 1;
        }
        ratios.push_back(ms / (BenchPorts * WireFloorMs));
        desktop::writeConsoleOutput(QString::asprintf("  run %d: %8.1f ms, %6.3f ms a route, ratio %.3f\n", run, ms,
                                                      ms / BenchPorts, ratios.back()));
    }
    desktop::writeConsoleOutput(QString::asprintf("  median ratio to the wire floor: %.3f\n", percentile(ratios, 0.5)));
    return 0;
}
