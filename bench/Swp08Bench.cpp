// The SW-P-08 server's figures for the closing notes (bench/run.sh swp08), on
// the offscreen platform with the main window, the line paced at 9600 baud by
// velmora-routersim, 32 clients connected on loopback. Each run, client 0
// stores a salvo group of 127 routes (destination r from source run + r, level
// 0) and fires it:
// - the time from writing the go to the last CONNECTED reaching client 0, as
//   a ratio to the wire floor (127 x 9.375 ms);
// - for every CONNECTED at every client, the time from the panel having the
//   router's acknowledgement (the moment the panel announces the route) to
//   the message read by the client.

#include "BenchFigures.h"
#include "BenchWindow.h"
#include "remote/ServerLimits.h"
#include "remote/swp08/FrameWriter.h"
#include "remote/swp08/Swp08Server.h"
#include "support/Swp08Peer.h"

#include <QTimer>
#include <array>
#include <atomic>
#include <vector>

namespace {

constexpr int Ports = 127;
constexpr int Clients = serverlimits::Swp08Clients;
constexpr int Runs = 5;
constexpr double WireFloorMs = 9.375;
constexpr int WaitMs = 60000;

// When the panel announced each output's route, in nanoseconds.
std::array<std::atomic<qint64>, Ports> routedAt{};

struct RunFigures
{
    double salvoMs = -1;
    std::vector<double> connectedMs;
};

// Stores group 0 of client 0: each store answered ACK and its echo.
bool storeGroup(Swp08Peer &peer, int number)
{
    QByteArray stores;
    for (int r = 0; r < Ports; ++r)
        stores += swp08::FrameWriter::frame(QByteArray::fromHex("7800") + char(0) + char(r) +
                                            char((number + r) % Ports) + char(0));
    peer.sendRaw(stores);
    return peer.next(2 * Ports).size() == 2 * Ports;
}

// The clients' side of one run, on the calling thread. Waits in an event
// loop woken by the sockets alone, so no polling interval adds to the figures.
RunFigures run(std::vector<std::unique_ptr<Swp08Peer>> &peers)
{
    RunFigures figures;
    QEventLoop loop;
    qint64 start = 0;
    int ownConnected = 0;
    std::vector<qsizetype> seen;
    std::vector<QMetaObject::Connection> timing;
    for (auto &peer : peers) {
        Swp08Peer *p = peer.get();
        const std::size_t index = seen.size();
        seen.push_back(p->received().size());
        // Runs after the peer has read and unpacked the messages.
        timing.push_back(QObject::connect(&p->socket, &QTcpSocket::readyRead, &loop, [&, p, index] {
            const qint64 now = nowNs();
            for (; seen[index] < p->received().size(); ++seen[index]) {
                const QString &message = p->received()[seen[index]];
                if (!message.startsWith(u"04 "))
                    continue;
                const int destination = message.section(u' ', 3, 3).toInt(nullptr, 16);
                figures.connectedMs.push_back(double(now - routedAt[std::size_t(destination)]) / 1e6);
                if (index == 0 && ++ownConnected == Ports)
                    figures.salvoMs = double(now - start) / 1e6;
            }
            if (figures.connectedMs.size() >= std::size_t(Ports * Clients))
                loop.quit();
        }));
    }
    QTimer::singleShot(WaitMs, &loop, &QEventLoop::quit);
    start = nowNs();
    peers[0]->send("79 00 00");
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
    ServerOptions options;
    options.port = 0;
    swp08::Swp08Server server(bench.panel->operations(), options);
    if (!server.listen())
        return 1;

    std::printf("a salvo group of %d routes fired by one of %d clients, line paced at 9600 baud (wire floor %.3f ms "
                "a route)\n",
                Ports, Clients, WireFloorMs);
    std::vector<double> ratios;
    std::vector<double> connectedMs;
    bool complete = true;
    whileThePanelRuns([&] {
        std::vector<std::unique_ptr<Swp08Peer>> peers;
        for (int i = 0; i < Clients; ++i)
            peers.push_back(std::make_unique<Swp08Peer>(server.port()));
        for (auto &peer : peers)
            complete = complete && peer->socket.waitForConnected(WaitMs);
        for (int number = 1; number <= Runs && complete; ++number) {
            complete = storeGroup(*peers[0], number);
            const RunFigures figures = run(peers);
            complete = complete && figures.salvoMs > 0 && figures.connectedMs.size() == std::size_t(Ports * Clients);
            const double ratio = figures.salvoMs / (Ports * WireFloorMs);
            ratios.push_back(ratio);
            connectedMs.insert(connectedMs.end(), figures.connectedMs.begin(), figures.connectedMs.end());
            std::printf("  run %d: salvo %8.1f ms, ratio %.3f; CONNECTED %zu, p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                        number, figures.salvoMs, ratio, figures.connectedMs.size(),
                        percentile(figures.connectedMs, 0.5), percentile(figures.connectedMs, 0.99),
                        percentile(figures.connectedMs, 1.0));
        }
    });
    if (!complete) {
        std::fprintf(stderr, "a client missed its answers or CONNECTED messages\n");
        return 1;
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("  median ratio to the wire floor: %.3f\n", ratios[ratios.size() / 2]);
    std::printf("  acknowledgement to CONNECTED at each of %d clients, %zu messages: p50 %.2f ms, p99 %.2f ms, "
                "max %.2f ms\n",
                Clients, connectedMs.size(), percentile(connectedMs, 0.5), percentile(connectedMs, 0.99),
                percentile(connectedMs, 1.0));
    return 0;
}
