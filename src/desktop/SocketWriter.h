#pragma once

#include <QByteArray>
#include <QObject>

class QIODevice;
class QSocketNotifier;

// The writing side of one accepted local-socket connection, kept apart from
// the socket that reads it. On Unix it writes to a duplicate of the socket's
// descriptor, so that
// - a client that shut only its writing side still gets its answers after the
//   reading side saw the end of its stream (the reading socket closes its own
//   descriptor then; the duplicate keeps the connection open until this goes);
// - a write to a client that left fails here, quietly, instead of making the
//   reading socket close with commands still unread.
// Elsewhere (or when no descriptor can be duplicated) it writes through the
// socket itself.
class SocketWriter final : public QObject
{
    Q_OBJECT

public:
    SocketWriter(QIODevice &socket, qintptr descriptor, QObject *parent = nullptr);
    ~SocketWriter() override;
    SocketWriter(const SocketWriter &) = delete;
    SocketWriter &operator=(const SocketWriter &) = delete;

    // Queues bytes; nothing is written once the peer has gone.
    void write(const QByteArray &bytes);
    // Bytes queued and not yet taken by the peer's side of the connection.
    [[nodiscard]] qint64 bytesToWrite() const;
    // The peer closed its side entirely (a half-close does not count): nothing
    // written arrives anymore. Checked without writing.
    [[nodiscard]] bool peerGone();

signals:
    // Bytes that waited went out, or were dropped with a peer that left.
    // Emitted from the event loop only, never from a call on this object.
    void bytesWritten();

private:
    void flushPending();
    void markGone();

    QIODevice &m_socket;
    int m_descriptor = -1;
    QSocketNotifier *m_writable = nullptr;
    QByteArray m_pending;
    bool m_gone = false;
};
