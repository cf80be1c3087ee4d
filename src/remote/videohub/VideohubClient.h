#pragma once

#include "link/RouteSource.h"
#include "remote/videohub/BlockReader.h"
#include "remote/videohub/Request.h"

#include <QObject>
#include <deque>

class QTcpSocket;

namespace videohub {

// One Videohub connection: cuts what the client sends into blocks for the
// server, writes what the server sends, and keeps the client's routes
// waiting for their turn on the line, in the client's order.
//
// Bounded: once MaxWaitingRoutes wait, nothing more is read until the line
// has taken some (the client's own data waits in its socket); a client that
// lets MaxUnsentBytes of pushes pile up unread is closed. Routes already
// answered ACK are still taken after the client has left; the object goes
// once they are.
class VideohubClient final : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 MaxUnsentBytes = 1024 * 1024;
    static constexpr qsizetype MaxWaitingRoutes = 2 * BlockReader::MaxBlockLines;

    // Takes ownership of the connected socket.
    VideohubClient(QTcpSocket *socket, QObject *parent = nullptr);

    // "videohub ADDRESS:PORT"; the lock owner is the address alone.
    [[nodiscard]] const RouteSource &source() const { return m_source; }
    [[nodiscard]] QString owner() const { return m_source.lockOwner; }
    [[nodiscard]] bool connected() const { return m_socket != nullptr; }

    // Writes bytes, or closes the connection when too much waits unread.
    void send(const QByteArray &bytes);

    void queueRoutes(const QList<RouteLine> &routes);
    [[nodiscard]] bool hasRoutes() const { return !m_routes.empty(); }
    [[nodiscard]] RouteLine takeRoute();

    // Kept by the server's turns.
    bool waitsTurn = false;

signals:
    // A block the client completed.
    void blockReceived(const videohub::RawBlock &block);
    // Routes were queued.
    void routesWaiting();
    // The connection ended (by the client, an error, or the server).
    void connectionClosed();

private:
    void readBlocks();
    void close();
    void settle();

    QTcpSocket *m_socket;
    RouteSource m_source;
    BlockReader m_reader;
    std::deque<RouteLine> m_routes;
    bool m_reading = false;
};

} // namespace videohub
