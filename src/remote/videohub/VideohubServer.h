#pragma once

#include "remote/ClientTurns.h"
#include "remote/RemoteServer.h"
#include "remote/videohub/PanelSnapshot.h"
#include "remote/videohub/Request.h"
#include "remote/videohub/VideohubClient.h"
#include "remote/videohub/VideohubOptions.h"

#include <memory>
#include <optional>

struct MatrixSnapshot;

namespace videohub {

struct RawBlock;

// The Videohub Ethernet Protocol server of the running panel (see
// RemoteServer): each client gets the dump on connecting, then status
// blocks on request and pushes of every route, name, lock and set-up change,
// whoever made it. Routes from clients are answered at once and taken one at
// a time through the panel (clients taking turns, one route each), so a
// client with a long block holds up the others by one route at most;
// everything else a client sends is answered without waiting for the line.
// At most serverlimits::VideohubClients clients are connected; one that
// leaves frees its place at once, its routes still taken in turns. A client
// that does not take what is written to it is closed (see VideohubClient),
// after holding up changes pushed to everyone for a second or two at most.
class VideohubServer final : public RemoteServer
{
    Q_OBJECT

public:
    VideohubServer(RemoteDoor &panel, VideohubOptions options, QObject *parent = nullptr);

    // The server the options and the user's settings file (velmora.conf)
    // ask for, listening; none when it is not asked for or cannot start (the
    // status line says why).
    [[nodiscard]] static std::unique_ptr<VideohubServer> fromArguments(RemoteDoor &panel, const QStringList &arguments);

private:
    void adopt(QTcpSocket *socket, const RouteSource &source) override;
    // A change pushed to everyone must wait while a client is behind: kept
    // by its client, so pushes are produced no faster than clients take them.
    [[nodiscard]] bool mustWait(const Request &request) const;
    // Offers kept blocks again, once a client caught up.
    void resumeReading();
    // False when the block must wait.
    [[nodiscard]] bool handle(VideohubClient *client, const RawBlock &raw);
    void change(VideohubClient *client, const Request &request);
    void renameAll(VideohubClient &client, const Request &request);
    // Takes the next route of the client whose turn it is.
    bool serve(VideohubClient &client);

    void pushRoute(int output);
    void sendPushes() override;
    void pushLabels(bool inputs, const QList<int> &ports);
    void pushLocks(const QList<int> &outputs);
    void pushSetup();
    void sendAll(const QByteArray &bytes);
    [[nodiscard]] PanelSnapshot shown(const MatrixSnapshot &matrix) const;

    QString m_uniqueId;
    ClientTurns<VideohubClient> m_turns;
    bool m_blocksKept = false;
    // Label changes of one client block, pushed as one block when it is done.
    std::optional<QList<int>> m_labelBatch;
    // Outputs whose route pushes wait (see pushSoon()).
    QList<int> m_routePushes;
};

} // namespace videohub
