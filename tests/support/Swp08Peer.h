#pragma once

#include "remote/swp08/FrameReader.h"

#include <QHostAddress>
#include <QStringList>
#include <QTcpSocket>

// An SW-P-08 client on the codec: frames what it sends, and reads what comes
// as "ACK", "NAK" or a message's DATA in hex ("04 00 00 01 03"). Bound to
// `from` so tests can stand for clients on different addresses of the
// loopback network.
class Swp08Peer
{
public:
    explicit Swp08Peer(quint16 port, const QHostAddress &from = QHostAddress(QStringLiteral("127.0.0.1")));

    // DATA in hex, framed.
    void send(const char *hexData);
    void sendRaw(const QByteArray &bytes) { socket.write(bytes); }
    // Everything received so far.
    [[nodiscard]] const QStringList &received() const { return m_received; }
    // The next count items not taken yet, once they have come (fewer on time-out).
    [[nodiscard]] QStringList next(qsizetype count);
    // Sends DATA in hex and takes the next count items heard.
    [[nodiscard]] QStringList ask(const char *hexData, qsizetype count)
    {
        send(hexData);
        return next(count);
    }
    // Waits (bounded) until the server has closed the connection.
    [[nodiscard]] bool waitForClose();

    QTcpSocket socket;

private:
    swp08::FrameReader m_reader;
    QStringList m_received;
    qsizetype m_taken = 0;
};
