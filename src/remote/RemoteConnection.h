#pragma once

#include "link/RouteSource.h"
#include "remote/ServerLimits.h"

#include <QElapsedTimer>
#include <QObject>

class QIODevice;
class SocketWriter;

// One client connection of a door, whatever its protocol and socket (the
// control port's local socket, a TCP server's): reads what the client sends
// in chunks for the protocol's reader, writes what the door sends through a
// SocketWriter, and holds back or closes a client that does not take what is
// written to it.
//
// Connected while the client can still send: a client that closed its
// sending side (all of the connection, or only that half) no longer holds a
// place nor hears pushes, but still gets the answers to what it sent (all of
// them where the protocol owes each line one), and the work it queued is
// still done; the object goes once it is.
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
    // Takes ownership of the connected socket, a QTcpSocket or a QLocalSocket.
    // idleLimitMs 0: no idle limit; source: who the client's routes are from.
    template <class Socket>
    RemoteConnection(Socket *socket, qint64 unsentLimit, qint64 idleLimitMs, RouteSource source, QObject *parent)
        : RemoteConnection(*socket, socket->socketDescriptor(), unsentLimit, idleLimitMs, std::move(source), parent)
    {
        // Bounded, so that a client that floods waits on its own connection.
        socket->setReadBufferSize(serverlimits::BytesPerTurn);
        connect(socket, &Socket::disconnected, this, &RemoteConnection::readingFinished, Qt::QueuedConnection);
    }
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
    // Work for the door: lines or routes queued, or a client that was behind
    // may take answers again.
    void workArrived();
    // Bytes went out, or the connection closed: a client behind may have caught up.
    void drained();
    // The connection closed; the client's queued work may still wait.
    void closed();

protected:
    enum class Step { Handled, NothingPending, Stop };
    // Handles one piece the reader completed earlier; Stop keeps it for later.
    virtual Step handlePending() { return Step::NothingPending; }
    [[nodiscard]] virtual bool hasPending() const { return false; }
    // Takes bytes read from the client.
    virtual void feed(const QByteArray &bytes) = 0;
    // False while the client's queued work is at its bound.
    [[nodiscard]] virtual bool mayRead() const { return true; }
    // Work still to do for the client, which keeps this object after the close.
    [[nodiscard]] virtual bool holdsWork() const = 0;
    // Answers still due to what the client sent: a client that closed only
    // its sending side keeps the connection until it has them.
    [[nodiscard]] virtual bool owesAnswers() const { return false; }
    // Forgets what was read and not handled, at the close.
    virtual void dropPending() {}
    // Call when the queued work shrank: reading held back at the bound goes
    // on, and a closed client with nothing left goes.
    void workTaken();

private:
    RemoteConnection(QIODevice &socket, qintptr descriptor, qint64 unsentLimit, qint64 idleLimitMs, RouteSource source,
                     QObject *parent);

    void readPending();
    void readingFinished();
    void settle();

    QIODevice *m_socket;
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

// A door's clients (its direct children) that can still send.
template <class Client> QList<Client *> connectedClientsOf(const QObject &door)
{
    QList<Client *> connected;
    for (Client *client : door.findChildren<Client *>(Qt::FindDirectChildrenOnly)) {
        if (client->connected())
            connected.append(client);
    }
    return connected;
}
