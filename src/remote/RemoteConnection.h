#pragma once

#include "link/RouteSource.h"

#include <QElapsedTimer>
#include <QObject>

class QTcpSocket;
class SocketWriter;

// One client connection of a protocol server, whatever the protocol: reads
// what the client sends in chunks for the protocol's reader, writes what the
// server sends through a SocketWriter, and closes a client that does not take
// what is written to it.
//
// Connected while the client can still send: a client that closed its
// sending side (all of the connection, or only that half) no longer holds a
// place nor hears pushes, but still gets the answers to what it sent, and
// the work it queued is still done; the object goes once it is.
//
// Read in turns: at most serverlimits::RequestsPerTurn requests and
// BytesPerTurn bytes, then the others have theirs. Nothing more is read while
// more than unsentLimit bytes wait to be written to the client, nor while the
// protocol says it holds enough work. What a peer that has gone entirely left
// unread is still read for the changes it asks (its routes are taken), but
// nothing is answered to it (see peerGone()). watch(), once a second, closes
// a client still that far behind at the next look, or one that sent nothing
// for its idle limit.
class RemoteConnection : public QObject
{
    Q_OBJECT

public:
    // Takes ownership of the connected socket. protocol names the origin
    // ("videohub 192.0.2.7:51234"); idleLimitMs 0: no idle limit.
    RemoteConnection(QTcpSocket *socket, const QString &protocol, qint64 unsentLimit, qint64 idleLimitMs,
                     QObject *parent = nullptr);
    ~RemoteConnection() override;

    // "PROTOCOL ADDRESS:PORT"; the lock owner is the address alone.
    [[nodiscard]] const RouteSource &source() const { return m_source; }
    [[nodiscard]] QString owner() const { return m_source.lockOwner; }
    [[nodiscard]] bool connected() const { return m_socket && !m_readingDone; }
    // Bytes written but not yet taken by the connection.
    [[nodiscard]] qint64 unsentBytes() const;
    [[nodiscard]] bool behind() const { return unsentBytes() > m_unsentLimit; }

    // Writes bytes; nothing once the connection is closed.
    void send(const QByteArray &bytes);
    // Handles what waits to be read, as far as the bounds allow, in a later turn.
    void resumeReading();
    // The once-a-second look: closes a client that does not read or sends nothing.
    void watch();
    // The peer has closed its side entirely (as of this turn): nothing sent
    // to it arrives, so a request that only asks is not even answered.
    [[nodiscard]] bool peerGone() const { return m_peerGone; }
    // Milliseconds since the client last sent anything.
    [[nodiscard]] qint64 quietMs() const { return m_heard.elapsed(); }
    // Closes the connection at once (its queued work is still done).
    void close();

signals:
    // Bytes went out, or the connection closed: a client behind may have caught up.
    void drained();

protected:
    enum class Step { Handled, NothingPending, Stop };
    // Handles one piece the reader completed earlier; Stop keeps it for later.
    virtual Step handlePending() = 0;
    [[nodiscard]] virtual bool hasPending() const = 0;
    // Takes bytes read from the client.
    virtual void take(const QByteArray &bytes) = 0;
    // False while the client's queued work is at its bound.
    [[nodiscard]] virtual bool mayRead() const = 0;
    // Work still to do for the client, which keeps this object after the close.
    [[nodiscard]] virtual bool holdsWork() const = 0;
    // Forgets what was read and not handled, at the close.
    virtual void dropPending() = 0;
    // Call when the queued work shrank: reading held back at the bound goes
    // on, and a closed client with nothing left goes.
    void workTaken();

private:
    void readPending();
    void readingFinished();
    void settle();

    QTcpSocket *m_socket;
    SocketWriter *m_writer;
    qint64 m_unsentLimit;
    qint64 m_idleLimitMs;
    RouteSource m_source;
    QElapsedTimer m_heard;
    bool m_reading = false;
    bool m_turnPosted = false;
    bool m_peerGone = false;
    bool m_readingDone = false;
    bool m_wasBehind = false;
};

// A server's clients (its direct children) that can still send.
template <class Client> QList<Client *> connectedClientsOf(const QObject &server)
{
    QList<Client *> connected;
    for (Client *client : server.findChildren<Client *>(Qt::FindDirectChildrenOnly)) {
        if (client->connected())
            connected.append(client);
    }
    return connected;
}
