#pragma once

#include "remote/swp08/FrameReader.h"
#include "support/LoopbackPeer.h"

#include <QStringList>

// An SW-P-08 client on the codec: frames what it sends, and reads what comes
// as "ACK", "NAK" or a message's DATA in hex ("04 00 00 01 03").
class Swp08Peer : public LoopbackPeer<QString>
{
public:
    explicit Swp08Peer(quint16 port, const QHostAddress &from = QHostAddress(QStringLiteral("127.0.0.1")));

    // DATA in hex, framed.
    void send(const char *hexData);
    void sendRaw(const QByteArray &bytes) { socket.write(bytes); }
    // Everything received so far.
    [[nodiscard]] const QStringList &received() const { return m_items; }
    // Sends DATA in hex and takes the next count items heard.
    [[nodiscard]] QStringList ask(const char *hexData, qsizetype count)
    {
        send(hexData);
        return next(count);
    }

private:
    swp08::FrameReader m_reader;
};
