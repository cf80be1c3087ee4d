#include "support/Swp08Peer.h"

#include "remote/swp08/FrameWriter.h"

Swp08Peer::Swp08Peer(quint16 port, const QHostAddress &from) : LoopbackPeer(port, from)
{
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] {
        using Kind = swp08::LinkEvent::Kind;
        for (const swp08::LinkEvent &event : m_reader.feed(socket.readAll())) {
            m_items.append(event.kind == Kind::Message        ? QString::fromLatin1(event.data.toHex(' '))
                           : event.kind == Kind::Acknowledged ? QStringLiteral("ACK")
                                                              : QStringLiteral("NAK"));
        }
    });
}

void Swp08Peer::send(const char *hexData)
{
    sendRaw(swp08::FrameWriter::frame(QByteArray::fromHex(hexData)));
}
