#include "support/VideohubPeer.h"

#include <QTest>

constexpr int WaitMs = 20000;

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
    m_received += socket.readAll();
    // Whole lines only: the rest waits for its LF.
    qsizetype end;
    while ((end = m_received.indexOf('\n', m_lineStart)) >= 0) {
        const QByteArray line = m_received.sliced(m_lineStart, end - m_lineStart);
        m_lineStart = end + 1;
        if (!line.isEmpty())
            m_block.append(QString::fromUtf8(line));
        else if (!m_block.isEmpty())
            m_blocks.append(std::exchange(m_block, {}));
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

bool VideohubPeer::waitForClose()
{
    return QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, WaitMs);
}
