#include "support/Swp08Peer.h"

#include "remote/swp08/FrameWriter.h"

#include <QTest>

namespace {

constexpr int WaitMs = 20000;

} // namespace

Swp08Peer::Swp08Peer(quint16 port, const QHostAddress &from)
{
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] {
        for (const swp08::LinkEvent &event : m_reader.feed(socket.readAll())) {
            switch (event.kind) {
            case swp08::LinkEvent::Kind::Message:
                m_received.append(QString::fromLatin1(event.data.toHex(' ')));
                break;
            case swp08::LinkEvent::Kind::Acknowledged:
                m_received.append(QStringLiteral("ACK"));
                break;
            case swp08::LinkEvent::Kind::NotAcknowledged:
            case swp08::LinkEvent::Kind::Rejected:
                m_received.append(QStringLiteral("NAK"));
                break;
            }
        }
    });
    socket.bind(from);
    socket.connectToHost(QHostAddress(QStringLiteral("127.0.0.1")), port);
}

void Swp08Peer::send(const char *hexData)
{
    sendRaw(swp08::FrameWriter::frame(QByteArray::fromHex(hexData)));
}

void Swp08Peer::sendRaw(const QByteArray &bytes)
{
    socket.write(bytes);
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
