#pragma once

#include "HalfClose.h"

#include <QHostAddress>
#include <list>
#include <memory>

// An actor's connection to one of the panel's servers, made again whenever
// it is gone; connections half-closed are kept until the server ends them.
template <class Peer> class PeerConnection
{
public:
    PeerConnection(quint16 port, const QHostAddress &from) : m_port(port), m_from(from) {}

    // The connection, a new one when there was none; `fresh` tells which.
    Peer &get(bool &fresh)
    {
        m_leaving.remove_if([](const auto &left) { return left->socket.state() == QAbstractSocket::UnconnectedState; });
        fresh = !connected();
        if (fresh) {
            m_peer = std::make_unique<Peer>(m_port, m_from);
            (void)m_peer->socket.waitForConnected(5000);
        }
        return *m_peer;
    }
    [[nodiscard]] bool connected() const { return m_peer && m_peer->socket.state() == QAbstractSocket::ConnectedState; }
    [[nodiscard]] const Peer &current() const { return *m_peer; }

    // Gone in the middle of a request: what was written, then the connection aborted.
    void abortAfterWrite()
    {
        (void)m_peer->socket.waitForBytesWritten(5000);
        m_peer->socket.abort();
        m_peer.reset();
    }
    // The sending side shut; the server ends it once it has answered.
    void halfCloseNow()
    {
        if (halfClose(m_peer->socket))
            m_leaving.push_back(std::move(m_peer));
        m_peer.reset();
    }
    void drop()
    {
        m_peer.reset();
        m_leaving.clear();
    }

private:
    quint16 m_port;
    QHostAddress m_from;
    std::unique_ptr<Peer> m_peer;
    std::list<std::unique_ptr<Peer>> m_leaving;
};
