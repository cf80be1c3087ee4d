#include "support/Swp08Peer.h"

#include "remote/swp08/FrameWriter.h"

#include <QTest>

constexpr int WaitMs = 20000;

Swp08Peer::Swp08Peer(quint16 port, const QHostAddress &from)
{
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] {
        using Kind = swp08::LinkEvent::Kind;
        for (const swp08::LinkEvent &event : m_reader.feed(socket.readAll())) {
            m_received.append(event.kind == Kind::Message        ? QString::fromLatin1(event.data.toHex(' '))
                              : event.kind == Kind::Acknowledged ? QStringLiteral("ACK")
                                                                 : QStringLiteral("NAK"));
        }
    });
    socket.bind(from);
    socket.connectToHost(QHostAddress(QStringLiteral("127.0.0.1")), port);
}

void Swp08Peer::send(const char *hexData)
{
    sendRaw(swp08::FrameWriter::frame(QByteArray::fromHex(hexData)));
}

QStringList Swp08Peer::next(qsizetype count)
{
    (void)QTest::qWaitFor([&] { return m_received.size() >= m_taken + count; }, WaitMs);
    const QStringList taken = m_received.mid(m_taken, count);
    m_taken += taken.size();
    return taken;
}

bool Swp08Peer::waitForClose()
{
    return QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, WaitMs);
}
