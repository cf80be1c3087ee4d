#pragma once

#include "link/RouteSource.h"
#include "remote/ServerLimits.h"
#include "remote/videohub/BlockReader.h"
#include "remote/videohub/Request.h"

#include <QElapsedTimer>
#include <QObject>
#include <deque>
#include <functional>

class QTcpSocket;
class SocketWriter;

namespace videohub {

// One Videohub connection: cuts what the client sends into blocks for the
// server, writes what the server sends, and keeps the client's routes
// waiting for their turn on the line, in the client's order.
//
// Connected while the client can still send: a client that closed its
// sending side (all of the connection, or only that half) no longer holds a
// place nor hears pushes, but still gets the answers to what it sent, and
// the routes it sent are still taken; the object goes once they are.
//
// Bounded (see ServerLimits.h): nothing more is read while more than
// VideohubUnsentBytes wait to be written to the client (its answers wait for
// it to read them), nor while VideohubWaitingRoutes wait for the line (the client's own data waits in its
// socket); the server may keep a block for later too (see its handler).
// watch(), once a second, closes a client still that far behind at the next
// look, or one that sent nothing for its idle limit.
class VideohubClient final : public QObject
{
    Q_OBJECT

public:
    // Handles a block the client completed; false keeps it, to be offered
    // again once resumeReading() is called.
    using Handler = std::function<bool(VideohubClient &client, const RawBlock &block)>;

    // Takes ownership of the connected socket.
    VideohubClient(QTcpSocket *socket, Handler handle, qint64 idleLimitMs, QObject *parent = nullptr);
    ~VideohubClient() override;

    // "videohub ADDRESS:PORT"; the lock owner is the address alone.
    [[nodiscard]] const RouteSource &source() const { return m_source; }
    [[nodiscard]] QString owner() const { return m_source.lockOwner; }
    [[nodiscard]] bool connected() const { return m_socket && !m_readingDone; }
    // Bytes written but not yet taken by the connection.
    [[nodiscard]] qint64 unsentBytes() const;
    [[nodiscard]] bool behind() const { return unsentBytes() > serverlimits::VideohubUnsentBytes; }

    // Writes bytes; nothing once the connection is closed.
    void send(const QByteArray &bytes);
    // Handles what waits to be read, as far as the bounds allow.
    void resumeReading();
    // The once-a-second look: closes a client that does not read or sends nothing.
    void watch();

    void queueRoutes(const QList<RouteLine> &routes);
    [[nodiscard]] bool hasRoutes() const { return !m_routes.empty(); }
    [[nodiscard]] qsizetype waitingRoutes() const { return qsizetype(m_routes.size()); }
    [[nodiscard]] RouteLine takeRoute();

signals:
    // Routes were queued.
    void routesWaiting();
    // Bytes went out, or the connection closed: a client behind may have caught up.
    void drained();

private:
    void readBlocks();
    void readingFinished();
    void close();
    void settle();

    QTcpSocket *m_socket;
    SocketWriter *m_writer;
    Handler m_handle;
    qint64 m_idleLimitMs;
    RouteSource m_source;
    BlockReader m_reader;
    // Blocks read but not handled yet.
    std::deque<RawBlock> m_blocks;
    std::deque<RouteLine> m_routes;
    QElapsedTimer m_heard;
    bool m_reading = false;
    bool m_readingDone = false;
    bool m_wasBehind = false;
};

} // namespace videohub
