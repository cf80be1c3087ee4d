// The Videohub server's figures for the closing notes (bench/run.sh videohub),
// on the offscreen platform with the main window, the line paced at 9600 baud
// by velmora-routersim, 32 clients connected on loopback. Each run, client 0
// sends one block of 127 routes (output r from input run + r):
// - the time from writing the block to the last push reaching client 0, as a
//   ratio to the wire floor (127 x 9.375 ms);
// - for every push at every client, the time from the panel having the
//   router's acknowledgement (the route state updated, the moment the panel
//   announces the route) to the push read by the client.

#include "BenchFigures.h"
#include "BenchWindow.h"
#include "remote/ServerLimits.h"
#include "remote/videohub/VideohubServer.h"
#include "support/VideohubPeer.h"

#include <QTimer>
#include <algorithm>
#include <array>
#include <atomic>
#include <vector>

namespace {

constexpr int Ports = 127;
constexpr int Clients = serverlimits::VideohubClients;
constexpr int Runs = 5;
constexpr int DumpBlocks = 7;
constexpr double WireFloorMs = 9.375;
constexpr int WaitMs = 60000;

// When the panel announced each output's route, in nanoseconds.
std::array<std::atomic<qint64>, Ports> routedAt{};

struct RunFigures
{
    double blockMs = -1;
    std::vector<double> pushMs;
};

// The clients' side of one run, on the calling thread. Waits in an event
// loop woken by the sockets alone, so no polling interval adds to the figures.
RunFigures run(std::vector<std::unique_ptr<VideohubPeer>> &peers, int number)
{
    RunFigures figures;
    QEventLoop loop;
    const qsizetype lastOfBlock = peers[0]->blocks().size() + 1 + Ports; // the ACK, then one push a route
    qint64 start = 0;
    std::vector<qsizetype> seen;
    std::vector<QMetaObject::Connection> timing;
    for (auto &peer : peers) {
        VideohubPeer *p = peer.get();
        const std::size_t index = seen.size();
        seen.push_back(p->blocks().size());
        // Runs after the peer has read and cut the blocks.
        timing.push_back(QObject::connect(&p->socket, &QTcpSocket::readyRead, &loop, [&, p, index] {
            const qint64 now = nowNs();
            for (; seen[index] < p->blocks().size(); ++seen[index]) {
                const QStringList &block = p->blocks()[seen[index]];
                if (block.size() == 2 && block[0] == u"VIDEO OUTPUT ROUTING:")
                    figures.pushMs.push_back(double(now - routedAt[std::size_t(block[1].section(u' ', 0, 0).toInt())]) /
                                             1e6);
            }
            if (index == 0 && figures.blockMs < 0 && p->blocks().size() >= lastOfBlock)
                figures.blockMs = double(now - start) / 1e6;
            if (figures.pushMs.size() >= std::size_t(Ports * Clients))
                loop.quit();
        }));
    }
    QByteArray block = "VIDEO OUTPUT ROUTING:\n";
    for (int r = 0; r < Ports; ++r)
        block += QByteArray::number(r) + ' ' + QByteArray::number((number + r) % Ports) + '\n';
    QTimer::singleShot(WaitMs, &loop, &QEventLoop::quit);
    start = nowNs();
    peers[0]->send(block + '\n');
    loop.exec();
    for (const auto &connection : timing)
        QObject::disconnect(connection);
    return figures;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchWindow bench;
    if (!bench.openWithLargestRouter())
        return 1;
    // Connected before the server's own slot, so it runs first.
    QObject::connect(&bench.panel->operations(), &RemotePanel::routed,
                     [](int output) { routedAt[std::size_t(output)] = nowNs(); });
    videohub::VideohubOptions options;
    options.port = 0;
    videohub::VideohubServer server(bench.panel->operations(), options);
    if (!server.listen())
        return 1;

    std::printf("one block of %d routes from one of %d clients, line paced at 9600 baud (wire floor %.3f ms a route)\n",
                Ports, Clients, WireFloorMs);
    std::vector<double> ratios;
    std::vector<double> pushMs;
    bool complete = true;
    whileThePanelRuns([&] {
        std::vector<std::unique_ptr<VideohubPeer>> peers;
        for (int i = 0; i < Clients; ++i)
            peers.push_back(std::make_unique<VideohubPeer>(server.port()));
        for (auto &peer : peers)
            complete = complete && peer->waitForBlocks(DumpBlocks).size() == DumpBlocks;
        for (int number = 1; number <= Runs && complete; ++number) {
            const RunFigures figures = run(peers, number);
            complete = figures.blockMs > 0 && figures.pushMs.size() == std::size_t(Ports * Clients);
            const double ratio = figures.blockMs / (Ports * WireFloorMs);
            ratios.push_back(ratio);
            pushMs.insert(pushMs.end(), figures.pushMs.begin(), figures.pushMs.end());
            std::printf("  run %d: block %8.1f ms, ratio %.3f; pushes %zu, p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                        number, figures.blockMs, ratio, figures.pushMs.size(), percentile(figures.pushMs, 0.5),
                        percentile(figures.pushMs, 0.99), percentile(figures.pushMs, 1.0));
        }
    });
    if (!complete) {
        std::fprintf(stderr, "a client missed its dump or pushes\n");
        return 1;
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("  median ratio to the wire floor: %.3f\n", ratios[ratios.size() / 2]);
    std::printf("  acknowledgement to push at each of %d clients, %zu pushes: p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                Clients, pushMs.size(), percentile(pushMs, 0.5), percentile(pushMs, 0.99), percentile(pushMs, 1.0));
    return 0;
}
