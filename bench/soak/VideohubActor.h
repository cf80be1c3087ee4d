#pragma once

#include "PeerConnection.h"
#include "SoakPieces.h"
#include "support/VideohubPeer.h"

#include <functional>

// A Videohub controller: routes, labels, locks and unlocks, pings; now and
// then leaves in the middle of a block, half-closes after one, or
// reconnects. Bound to its own loopback address, so locks tell it apart.
class VideohubActor final : public SoakActor
{
public:
    VideohubActor(const SoakPorts &ports, const QHostAddress &from, SoakRandom &random, SoakCounts &counts);

    void act() override;
    [[nodiscard]] bool settled() const override;
    void rest() override;

private:
    VideohubPeer &peer();
    void send(const QByteArray &block, const QString &kind);
    [[nodiscard]] QByteArray lines(int count, const std::function<QByteArray()> &line);
    void leaveMidBlock();
    void halfCloseAfterBlock();

    const SoakPorts &m_ports;
    SoakRandom &m_random;
    SoakCounts &m_counts;
    PeerConnection<VideohubPeer> m_connection;
    // Blocks sent on the current connection.
    int m_sent = 0;
};
