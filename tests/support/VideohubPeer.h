#pragma once

#include "support/LoopbackPeer.h"

#include <QByteArray>
#include <QStringList>
#include <memory>

// A Videohub client as controllers behave: splits what arrives on LF and ends
// a block only on an exactly empty line.
class VideohubPeer : public LoopbackPeer<QStringList>
{
public:
    explicit VideohubPeer(quint16 port, const QHostAddress &from = QHostAddress(QStringLiteral("127.0.0.1")));

    // The blocks of the dump a client gets on connecting: preamble, device,
    // two label blocks, locks, routing, end.
    static constexpr int DumpBlocks = 7;
    // A client connected from `from`, past its dump.
    [[nodiscard]] static std::unique_ptr<VideohubPeer> pastDump(quint16 port, const QHostAddress &from);

    // Every block received so far, each "HEADER:" followed by its lines.
    [[nodiscard]] const QList<QStringList> &blocks() const { return m_items; }
    [[nodiscard]] const QByteArray &received() const { return m_received; }
    // Waits (bounded) until count blocks have come; the blocks then.
    const QList<QStringList> &waitForBlocks(qsizetype count) { return waitFor(count); }
    void send(const QByteArray &bytes) { socket.write(bytes); }

private:
    void read();

    QByteArray m_received;
    // Where the line not yet ended starts in m_received.
    qsizetype m_lineStart = 0;
    QStringList m_block;
};
