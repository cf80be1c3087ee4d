#include "VideohubActor.h"

namespace {

bool isAnswer(const QStringList &block)
{
    return block.size() == 1 && (block[0] == u"ACK" || block[0] == u"NAK");
}

} // namespace

VideohubActor::VideohubActor(const SoakPorts &ports, const QHostAddress &from, SoakRandom &random, SoakCounts &counts)
    : m_ports(ports), m_random(random), m_counts(counts), m_connection(ports.videohub, from)
{}

VideohubPeer &VideohubActor::peer()
{
    bool fresh = false;
    VideohubPeer &current = m_connection.get(fresh);
    if (fresh)
        m_sent = 0;
    return current;
}

void VideohubActor::send(const QByteArray &block, const QString &kind)
{
    peer().send(block);
    ++m_sent;
    m_counts.operation(QStringLiteral("videohub ") + kind);
}

QByteArray VideohubActor::lines(int count, const std::function<QByteArray()> &line)
{
    QByteArray all;
    for (int i = 0; i < count; ++i)
        all += line() + '\n';
    return all + '\n';
}

void VideohubActor::act()
{
    const auto output = [this] { return QByteArray::number(m_random.below(m_ports.outputs)); };
    const auto input = [this] { return QByteArray::number(m_random.below(m_ports.inputs)); };
    const int roll = m_random.below(100);
    if (roll < 35) {
        send("VIDEO OUTPUT ROUTING:\n" + lines(1 + m_random.below(6), [&] { return output() + ' ' + input(); }),
             QStringLiteral("route"));
    } else if (roll < 50) {
        send("INPUT LABELS:\n" + lines(1 + m_random.below(3), [&] { return input() + ' ' + m_random.name().toUtf8(); }),
             QStringLiteral("label"));
    } else if (roll < 65) {
        send("OUTPUT LABELS:\n" +
                 lines(1 + m_random.below(3), [&] { return output() + ' ' + m_random.name().toUtf8(); }),
             QStringLiteral("label"));
    } else if (roll < 80) {
        static const char actions[] = "OOUUF";
        send("VIDEO OUTPUT LOCKS:\n" +
                 lines(1 + m_random.below(2), [&] { return output() + ' ' + actions[m_random.below(5)]; }),
             QStringLiteral("lock"));
    } else if (roll < 85) {
        send("PING:\n\n", QStringLiteral("ping"));
    } else if (roll < 90) {
        leaveMidBlock();
    } else if (roll < 95) {
        halfCloseAfterBlock();
    } else {
        m_counts.fault(QStringLiteral("reconnect"));
        m_connection.drop();
        (void)peer();
    }
}

void VideohubActor::leaveMidBlock()
{
    peer().send("VIDEO OUTPUT ROUTING:\n" + QByteArray::number(m_random.below(m_ports.outputs)) + ' ');
    m_connection.abortAfterWrite();
    m_counts.fault(QStringLiteral("videohub leaves mid-block"));
}

void VideohubActor::halfCloseAfterBlock()
{
    peer().send("VIDEO OUTPUT ROUTING:\n" + QByteArray::number(m_random.below(m_ports.outputs)) + ' ' +
                QByteArray::number(m_random.below(m_ports.inputs)) + "\n\n");
    m_connection.halfCloseNow();
    m_counts.fault(QStringLiteral("videohub half-close"));
}

bool VideohubActor::settled() const
{
    if (!m_connection.connected())
        return true;
    const auto &blocks = m_connection.current().blocks();
    return std::count_if(blocks.begin(), blocks.end(), isAnswer) >= m_sent;
}

void VideohubActor::rest()
{
    m_connection.drop();
}
