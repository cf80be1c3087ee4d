// The UMD output's figures for the closing notes (bench/run.sh umd), on the
// offscreen platform with the main window, the line paced at 9600 baud by
// velmora-routersim, the largest router (127 x 127 ports):
// - 8 targets, TSL 3.1 over UDP to receivers on loopback, following the video
//   level of every output: each run routes every output (output r from input
//   run + r + 1) as a client does; for every message at every receiver, the
//   time from the panel having the router's acknowledgement to the message
//   read;
// - the processor time of the panel idling for a while with no target, then
//   with the 8 targets refreshing every display every second.

#include "BenchFigures.h"
#include "BenchWindow.h"
#include "desktop/ConsoleLine.h"
#include "remote/umd/UmdOutput.h"

#include <QTest>
#include <QUdpSocket>
#include <ctime>
#include <vector>

namespace {

constexpr int Targets = serverlimits::UmdTargets;
constexpr int Runs = 5;
constexpr int IdleMs = 20000;

UmdOptions targets(const std::vector<std::unique_ptr<QUdpSocket>> &receivers, int refresh)
{
    UmdOptions options;
    for (const auto &receiver : receivers) {
        QString why;
        const QString url = QStringLiteral("tsl31://127.0.0.1:%1?refresh=%2").arg(receiver->localPort()).arg(refresh);
        options.targets.append({int(options.targets.size()) + 1, UmdTarget::read(url, why)});
    }
    return options;
}

// Processor seconds of this process while its event loop idles for IdleMs.
double idleCpuSeconds()
{
    const std::clock_t before = std::clock();
    QEventLoop loop;
    QTimer::singleShot(IdleMs, &loop, &QEventLoop::quit);
    loop.exec();
    return double(std::clock() - before) / CLOCKS_PER_SEC;
}

// The 8 targets' figures over the panel, then the processor time.
int measure(BenchWindow &bench)
{
    std::vector<double> ms;
    std::vector<std::unique_ptr<QUdpSocket>> receivers;
    for (int i = 0; i < Targets; ++i) {
        auto receiver = std::make_unique<QUdpSocket>();
        receiver->bind(QHostAddress::LocalHost);
        QUdpSocket *socket = receiver.get();
        QObject::connect(socket, &QUdpSocket::readyRead, [socket, &ms] {
            char message[32];
            while (socket->hasPendingDatagrams()) {
                if (socket->readDatagram(message, sizeof message) > 0)
                    ms.push_back(double(nowNs() - announcedAt[std::size_t(quint8(message[0]) - 0x80)]) / 1e6);
            }
        });
        receivers.push_back(std::move(receiver));
    }
    const double idleWithout = idleCpuSeconds();
    {
        UmdOutput output(*bench.door, targets(receivers, 0));
        output.start();
        (void)QTest::qWaitFor([&] { return ms.size() == std::size_t(Targets * BenchPorts); }, 10000);
        desktop::writeConsoleOutput(QString::asprintf(
            "%d targets of %d displays (TSL 3.1, UDP, loopback), a route on every output per run, line paced at "
            "9600 baud\n",
            Targets, BenchPorts));
        std::vector<double> all;
        for (int run = 0; run < Runs; ++run) {
            ms.clear();
            for (int out = 0; out < BenchPorts; ++out)
                (void)bench.door->takeRoute(out, (run + out + 1) % BenchPorts, 3, RouteSource{});
            (void)QTest::qWaitFor([&] { return ms.size() >= std::size_t(Targets * BenchPorts); }, 10000);
            desktop::writeConsoleOutput(
                QString::asprintf("  run %d: %zu messages, p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", run, ms.size(),
                                  percentile(ms, 0.5), percentile(ms, 0.99), percentile(ms, 1.0)));
            all.insert(all.end(), ms.begin(), ms.end());
        }
        desktop::writeConsoleOutput(
            QString::asprintf("  acknowledgement to UMD message, %zu messages: p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                              all.size(), percentile(all, 0.5), percentile(all, 0.99), percentile(all, 1.0)));
    }
    UmdOutput refreshing(*bench.door, targets(receivers, 1));
    refreshing.start();
    const double idleWith = idleCpuSeconds();
    desktop::writeConsoleOutput(QString::asprintf(
        "  processor time idling %d s: %.3f s without targets, %.3f s with %d targets refreshing every second "
        "(%zu messages)\n",
        IdleMs / 1000, idleWithout, idleWith, Targets, ms.size()));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    return benchPanel(argc, argv, measure);
}
