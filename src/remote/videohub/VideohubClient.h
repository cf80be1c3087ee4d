#pragma once

#include "remote/RemoteConnection.h"
#include "remote/ServerLimits.h"
#include "remote/videohub/BlockReader.h"
#include "remote/videohub/Request.h"

#include <deque>
#include <functional>

namespace videohub {

// One Videohub connection (see RemoteConnection): cuts what the client sends
// into blocks for the server, and keeps the client's routes waiting for their
// turn on the line, in the client's order. Nothing more is read while
// VideohubWaitingRoutes wait for the line (the client's own data waits in its
// socket); the server may keep a block for later too (see its handler).
class VideohubClient final : public RemoteConnection
{
    Q_OBJECT

public:
    // Handles a block the client completed; false keeps it, to be offered
    // again once resumeReading() is called.
    using Handler = std::function<bool(VideohubClient &client, const RawBlock &block)>;

    // Takes ownership of the connected socket.
    VideohubClient(QTcpSocket *socket, Handler handle, qint64 idleLimitMs, QObject *parent = nullptr);

    void queueRoutes(const QList<RouteLine> &routes);
    [[nodiscard]] bool hasRoutes() const { return !m_routes.empty(); }
    [[nodiscard]] qsizetype waitingRoutes() const { return qsizetype(m_routes.size()); }
    [[nodiscard]] RouteLine takeRoute();

signals:
    // Routes were queued.
    void routesWaiting();

private:
    Step handlePending() override;
    [[nodiscard]] bool hasPending() const override { return !m_blocks.empty(); }
    void take(const QByteArray &bytes) override;
    [[nodiscard]] bool mayRead() const override;
    [[nodiscard]] bool holdsWork() const override { return hasRoutes(); }
    void dropPending() override { m_blocks.clear(); }

    Handler m_handle;
    BlockReader m_reader;
    // Blocks read but not handled yet.
    std::deque<RawBlock> m_blocks;
    std::deque<RouteLine> m_routes;
};

} // namespace videohub
