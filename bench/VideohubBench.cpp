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
#include "desktop/ConsoleLine.h"
#include "remote/ServerLimits.h"
#include "remote/videohub/VideohubServer.h"
#include "support/VideohubPeer.h"

#include <vector>

namespace {

constexpr int Ports = BenchPorts;
constexpr int Clients = serverlimits::VideohubClients;
constexpr int Runs = 5;
constexpr int DumpBlocks = VideohubPeer::DumpBlocks;

// The clients' side of one run: client 0 sends the block.
RunFigures run(std::vector<std::unique_ptr<VideohubPeer>> &peers, int number)
{
    const qsizetype lastOfBlock = peers[0]->blocks().size() + 1 + Ports; // the ACK, then one push a route
    std::vector<qsizetype> seen;
    std::vector<QTcpSocket *> sockets;
    for (auto &peer : peers) {
        seen.push_back(peer->blocks().size());
        sockets.push_back(&peer->socket);
    }
    const auto read = [&](std::size_t index, qint64 now, qint64 start, RunFigures &figures) {
        const QList<QStringList> &blocks = peers[index]->blocks();
        for (; seen[index] < blocks.size(); ++seen[index]) {
            const QStringList &block = blocks[seen[index]];
            if (block.size() == 2 && block[0] == u"VIDEO OUTPUT ROUTING:")
                figures.messageMs.push_back(
                    double(now - announcedAt[std::size_t(block[1].section(u' ', 0, 0).toInt())]) / 1e6);
        }
        if (index == 0 && figures.batchMs < 0 && blocks.size() >= lastOfBlock)
            figures.batchMs = double(now - start) / 1e6;
    };
    QByteArray block = "VIDEO OUTPUT ROUTING:\n";
    for (int r = 0; r < Ports; ++r)
        block += QByteArray::number(r) + ' ' + QByteArray::number((number + r) % Ports) + '\n';
    return timeRun(sockets, std::size_t(Ports * Clients), read, [&] { peers[0]->send(block + '\n'); });
}

} // namespace

int main(int argc, char *argv[])
{
    return benchServer<videohub::VideohubServer, videohub::VideohubOptions>(
        argc, argv, [](videohub::VideohubServer &server) {
            desktop::writeConsoleOutput(QString::asprintf(
                "one block of %d routes from one of %d clients, line paced at 9600 baud (wire floor %.3f ms a route)\n",
                Ports, Clients, WireFloorMs));
            BenchSummary summary("block", "pushes", std::size_t(Ports * Clients));
            bool complete = true;
            whileThePanelRuns([&] {
                std::vector<std::unique_ptr<VideohubPeer>> peers;
                for (int i = 0; i < Clients; ++i)
                    peers.push_back(std::make_unique<VideohubPeer>(server.port()));
                for (auto &peer : peers)
                    complete = complete && peer->waitForBlocks(DumpBlocks).size() == DumpBlocks;
                for (int number = 1; number <= Runs && complete; ++number)
                    complete = summary.add(number, run(peers, number));
            });
            if (!complete) {
                desktop::writeConsoleLine(QStringLiteral("a client missed its dump or pushes"));
                return 1;
            }
            summary.print(Clients);
            return 0;
        });
}
