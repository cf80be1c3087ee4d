#include "support/VideohubPeer.h"

VideohubPeer::VideohubPeer(quint16 port, const QHostAddress &from) : LoopbackPeer(port, from)
{
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] { read(); });
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
            m_items.append(std::exchange(m_block, {}));
    }
}
