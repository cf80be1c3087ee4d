#include "support/VideohubPeer.h"

#include <QTest>

namespace {

constexpr int WaitMs = 20000;

} // namespace

VideohubPeer::VideohubPeer(quint16 port, const QHostAddress &from)
{
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] { read(); });
    socket.bind(from);
    socket.connectToHost(QHostAddress(QStringLiteral("127.0.0.1")), port);
}

std::unique_ptr<VideohubPeer> VideohubPeer::pastDump(quint16 port, const QHostAddress &from)
{
    auto peer = std::make_unique<VideohubPeer>(port, from);
    (void)peer->next(DumpBlocks);
    return peer;
}

void VideohubPeer::read()
{
    const QByteArray bytes = socket.readAll();
    m_received += bytes;
    for (const char c : bytes) {
        if (c != '\n') {
            m_line += c;
            continue;
        }
        if (!m_line.isEmpty())
            m_block.append(QString::fromUtf8(m_line));
        else if (!m_block.isEmpty())
            m_blocks.append(std::exchange(m_block, {}));
        m_line.clear();
    }
}

const QList<QStringList> &VideohubPeer::waitForBlocks(qsizetype count)
{
    (void)QTest::qWaitFor([&] { return m_blocks.size() >= count; }, WaitMs);
    return m_blocks;
}

QList<QStringList> VideohubPeer::next(qsizetype count)
{
    const QList<QStringList> taken = waitForBlocks(m_taken + count).mid(m_taken, count);
    m_taken += taken.size();
    return taken;
}

void VideohubPeer::send(const QByteArray &bytes)
{
    socket.write(bytes);
}

bool VideohubPeer::waitForClose()
{
    return QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, WaitMs);
}
