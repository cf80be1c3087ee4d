#pragma once

#include <QHostAddress>
#include <QList>
#include <QTcpSocket>
#include <QTest>
#include <algorithm>

// A protocol server's client on loopback, collecting what it reads as Items
// (blocks, messages). Bound to `from` so tests can stand for clients on
// different addresses of the loopback network.
template <class Item> class LoopbackPeer
{
public:
    static constexpr int WaitMs = 20000;

    LoopbackPeer(quint16 port, const QHostAddress &from)
    {
        socket.bind(from);
        socket.connectToHost(QHostAddress(QStringLiteral("127.0.0.1")), port);
    }

    // Waits (bounded) until count items have come; every item read then.
    const QList<Item> &waitFor(qsizetype count)
    {
        (void)QTest::qWaitFor([&] { return m_items.size() >= count; }, WaitMs);
        return m_items;
    }
    // The next count items not taken yet, once they have come (fewer on time-out).
    [[nodiscard]] QList<Item> next(qsizetype count)
    {
        const QList<Item> taken = waitFor(m_taken + count).mid(m_taken, count);
        m_taken += taken.size();
        return taken;
    }
    // Drops the first count items, read already: a peer listening for hours stays small.
    void forget(qsizetype count)
    {
        m_items.remove(0, count);
        m_taken = std::max<qsizetype>(0, m_taken - count);
    }
    // Waits (bounded) until the server has closed the connection.
    [[nodiscard]] bool waitForClose()
    {
        return QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, WaitMs);
    }

    QTcpSocket socket;

protected:
    QList<Item> m_items;

private:
    qsizetype m_taken = 0;
};
