#pragma once

#include "SoakPieces.h"
#include "support/Swp08Peer.h"
#include "support/UmdPeer.h"
#include "support/VideohubPeer.h"

#include <memory>

// A client that stays connected and only listens: what it has been told since
// it connected (its dump, then every change pushed), applied in order. It
// connects again after a restart, when its check reads it.
class VideohubListener final : public InvariantSource
{
public:
    explicit VideohubListener(const SoakPorts &ports) : m_ports(ports) {}
    [[nodiscard]] QString name() const override { return QStringLiteral("videohub listener"); }
    [[nodiscard]] Facts read() override;
    [[nodiscard]] Facts expected(const Facts &reference) const override;

private:
    const SoakPorts &m_ports;
    std::unique_ptr<VideohubPeer> m_peer;
    Facts m_told;
};

// An SW-P-08 controller that asked for both levels' tallies once and has
// followed the CONNECTED announcements since.
class Swp08Listener final : public InvariantSource
{
public:
    explicit Swp08Listener(const SoakPorts &ports) : m_ports(ports) {}
    [[nodiscard]] QString name() const override { return QStringLiteral("swp08 listener"); }
    [[nodiscard]] Facts read() override;
    [[nodiscard]] Facts expected(const Facts &reference) const override;

private:
    const SoakPorts &m_ports;
    std::unique_ptr<Swp08Peer> m_peer;
    Facts m_told;
};

// The displays of the panel's two UMD targets (umdTargets()), each as the
// last message it received shows it: "umd31 N" -> "31 Cam 3" (control byte
// in hex, text) for output N's display following the video route, "umd5 N"
// -> "00d0 Out 4" for output N's own name. Both stay listening across restarts.
class UmdListener final : public InvariantSource
{
public:
    explicit UmdListener(const SoakPorts &ports);
    [[nodiscard]] QString name() const override { return QStringLiteral("umd displays"); }
    [[nodiscard]] Facts read() override;
    [[nodiscard]] Facts expected(const Facts &reference) const override;

private:
    const SoakPorts &m_ports;
    UmdPeer m_follow{UmdPeer::Kind::Tsl31};
    UmdPeer m_outputs{UmdPeer::Kind::Tsl5Tcp};
    Facts m_shown;
};

// A name as a display without accents shows it: accents off, every
// character outside printable ASCII one '?'.
[[nodiscard]] QString displayText(const QString &name);

// Every output's lock as an SW-P-08 protect dump shows it to a client that
// holds none: "lock N" -> "L" (held by someone) or "U".
[[nodiscard]] Facts lockFacts(const SoakPorts &ports);
// The facts of one Videohub block ("INPUT LABELS:" and its lines), as a
// client from an address holding no lock reads them.
void addVideohubBlock(const QStringList &block, Facts &facts);
// An SW-P-08 message as Swp08Peer gives it ("04 00 00 01 03"), in bytes.
[[nodiscard]] QList<int> swp08Bytes(const QString &hex);
// The facts of one SW-P-08 tally dump or CONNECTED message in hex.
void addSwp08Tally(const QString &message, Facts &facts);
