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
#include "desktop/ConsoleLine.h"
#include "remote/ServerLimits.h"
#include "remote/swp08/FrameWriter.h"
#include "remote/swp08/Swp08Server.h"
#include "support/Swp08Peer.h"

#include <vector>

namespace {

constexpr int Ports = BenchPorts;
constexpr int Clients = serverlimits::Swp08Clients;
constexpr int Runs = 5;
constexpr int WaitMs = 60000;

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

// The clients' side of one run: client 0 fires group 0.
RunFigures run(std::vector<std::unique_ptr<Swp08Peer>> &peers)
{
    int ownConnected = 0;
    std::vector<qsizetype> seen;
    std::vector<QTcpSocket *> sockets;
    for (auto &peer : peers) {
        seen.push_back(peer->received().size());
        sockets.push_back(&peer->socket);
    }
    const auto read = [&](std::size_t index, qint64 now, qint64 start, RunFigures &figures) {
        const QStringList &received = peers[index]->received();
        for (; seen[index] < received.size(); ++seen[index]) {
            const QString &message = received[seen[index]];
            if (!message.startsWith(u"04 "))
                continue;
            const int destination = message.section(u' ', 3, 3).toInt(nullptr, 16);
            figures.messageMs.push_back(double(now - announcedAt[std::size_t(destination)]) / 1e6);
            if (index == 0 && ++ownConnected == Ports)
                figures.batchMs = double(now - start) / 1e6;
        }
    };
    return timeRun(sockets, std::size_t(Ports * Clients), read, [&] { peers[0]->send("79 00 00"); });
}

} // namespace

int main(int argc, char *argv[])
{
    return benchServer<swp08::Swp08Server, ServerOptions>(argc, argv, [](swp08::Swp08Server &server) {
        desktop::writeConsoleOutput(QString::asprintf(
            "a salvo group of %d routes fired by one of %d clients, line paced at 9600 baud (wire floor %.3f ms "
            "a route)\n",
            Ports, Clients, WireFloorMs));
        BenchSummary summary("salvo", "CONNECTED", std::size_t(Ports * Clients));
        bool complete = true;
        whileThePanelRuns([&] {
            std::vector<std::unique_ptr<Swp08Peer>> peers;
            for (int i = 0; i < Clients; ++i)
                peers.push_back(std::make_unique<Swp08Peer>(server.port()));
            for (auto &peer : peers)
                complete = complete && peer->socket.waitForConnected(WaitMs);
            for (int number = 1; number <= Runs && complete; ++number)
                complete = storeGroup(*peers[0], number) && summary.add(number, run(peers));
        });
        if (!complete) {
            desktop::writeConsoleLine(QStringLiteral("a client missed its answers or CONNECTED messages"));
            return 1;
        }
        summary.print(Clients);
        return 0;
    });
}
