#pragma once

#include "PeerConnection.h"
#include "SoakPieces.h"
#include "support/Swp08Peer.h"

#include <array>

// A control system on SW-P-08: connects on either level, protects and frees
// outputs, stores salvo groups and fires them, asks for tallies; now and
// then leaves in the middle of a message, half-closes, or reconnects.
class Swp08Actor final : public SoakActor
{
public:
    Swp08Actor(const SoakPorts &ports, const QHostAddress &from, SoakRandom &random, SoakCounts &counts);

    void act() override;
    [[nodiscard]] bool settled() const override;
    void rest() override;

private:
    Swp08Peer &peer();
    void send(const QByteArray &data, const QString &kind);
    void storeAndFire();

    const SoakPorts &m_ports;
    SoakRandom &m_random;
    SoakCounts &m_counts;
    PeerConnection<Swp08Peer> m_connection;
    // Messages sent and groups fired on the current connection.
    int m_sent = 0;
    int m_fired = 0;
    // Routes stored in each group used, kept under the protocol's 128.
    std::array<int, 4> m_stored{};
};
