#include "Swp08Actor.h"

#include "remote/swp08/Commands.h"
#include "remote/swp08/FrameWriter.h"

namespace {

QByteArray message(std::initializer_list<int> bytes)
{
    QByteArray data;
    for (const int byte : bytes)
        data.append(char(byte));
    return data;
}

} // namespace

Swp08Actor::Swp08Actor(const SoakPorts &ports, const QHostAddress &from, SoakRandom &random, SoakCounts &counts)
    : m_ports(ports), m_random(random), m_counts(counts), m_connection(ports.swp08, from)
{}

Swp08Peer &Swp08Actor::peer()
{
    bool fresh = false;
    Swp08Peer &current = m_connection.get(fresh);
    if (fresh) {
        m_sent = 0;
        m_fired = 0;
        m_stored = {};
    }
    return current;
}

void Swp08Actor::send(const QByteArray &data, const QString &kind)
{
    peer().sendRaw(swp08::FrameWriter::frame(data));
    ++m_sent;
    m_counts.operation(QStringLiteral("swp08 ") + kind);
}

void Swp08Actor::act()
{
    using namespace swp08::Command;
    const int level = m_random.below(2);
    const int destination = m_random.below(m_ports.outputs);
    const int roll = m_random.below(100);
    if (roll < 40) {
        send(message({Connect, level, 0, destination, m_random.below(m_ports.inputs)}), QStringLiteral("connect"));
    } else if (roll < 50) {
        send(message({ProtectConnect, level, 0, destination, 1}), QStringLiteral("protect"));
    } else if (roll < 62) {
        send(message({ProtectDisconnect, level, 0, destination, 1}), QStringLiteral("unprotect"));
    } else if (roll < 77) {
        storeAndFire();
    } else if (roll < 85) {
        send(message({TallyDumpRequest, level}), QStringLiteral("tally dump"));
    } else if (roll < 90) {
        const QByteArray frame = swp08::FrameWriter::frame(message({Connect, level, 0, destination, 0}));
        peer().sendRaw(frame.first(frame.size() / 2));
        m_connection.abortAfterWrite();
        m_counts.fault(QStringLiteral("swp08 leaves mid-message"));
    } else if (roll < 95) {
        send(message({Connect, level, 0, destination, m_random.below(m_ports.inputs)}), QStringLiteral("connect"));
        m_connection.halfCloseNow();
        m_counts.fault(QStringLiteral("swp08 half-close"));
    } else {
        m_connection.drop();
        (void)peer();
        m_counts.fault(QStringLiteral("reconnect"));
    }
}

// A group of up to eight routes on one level, fired at once or left for later.
void Swp08Actor::storeAndFire()
{
    using namespace swp08::Command;
    const int group = m_random.below(4);
    const int level = m_random.below(2);
    const int routes = 1 + m_random.below(8);
    if (m_stored[std::size_t(group)] + routes > 120) {
        send(message({SalvoGo, 1, group}), QStringLiteral("salvo clear"));
        m_stored[std::size_t(group)] = 0;
    }
    m_stored[std::size_t(group)] += routes;
    for (int i = 0; i < routes; ++i) {
        send(message({SalvoStore, level, 0, m_random.below(m_ports.outputs), m_random.below(m_ports.inputs), group}),
             QStringLiteral("salvo store"));
    }
    if (m_random.chance(70)) {
        send(message({SalvoGo, 0, group}), QStringLiteral("salvo go"));
        ++m_fired;
    } else if (m_random.chance(50)) {
        send(message({SalvoGo, 1, group}), QStringLiteral("salvo clear"));
        m_stored[std::size_t(group)] = 0;
    }
}

bool Swp08Actor::settled() const
{
    if (!m_connection.connected())
        return true;
    const QStringList &received = m_connection.current().received();
    const auto acknowledged = received.count(QStringLiteral("ACK"));
    const auto done =
        std::count_if(received.begin(), received.end(), [](const QString &item) { return item.startsWith(u"7b"); });
    return acknowledged >= m_sent && done >= m_fired;
}

void Swp08Actor::rest()
{
    m_connection.drop();
}
