#include "Listeners.h"

#include "HalfClose.h"
#include "remote/swp08/Commands.h"

#include <QTest>

namespace {

constexpr int WaitMs = 20000;
// Messages still on their way: the panel sends within 100 ms of a change.
constexpr int UmdSettleMs = 300;
constexpr int Tsl31Characters = 16;
constexpr int Tsl5Characters = 64;

// "ADDRESS CONTROL TEXT" or "SCREEN/INDEX CONTROL TEXT" as "DISPLAY" -> "CONTROL TEXT".
void addUmdLine(const QString &prefix, const QString &line, Facts &facts)
{
    const qsizetype space = line.indexOf(u' ');
    if (space < 0)
        return;
    facts.insert(prefix + line.first(space).section(u'/', -1), line.mid(space + 1));
}

} // namespace

void addVideohubBlock(const QStringList &block, Facts &facts)
{
    const QString header = block.value(0);
    const QString kind = header == u"INPUT LABELS:"           ? QStringLiteral("input-name ")
                         : header == u"OUTPUT LABELS:"        ? QStringLiteral("output-name ")
                         : header == u"VIDEO OUTPUT ROUTING:" ? QStringLiteral("video ")
                         : header == u"VIDEO OUTPUT LOCKS:"   ? QStringLiteral("lock ")
                                                              : QString();
    if (kind.isEmpty())
        return;
    for (const QString &line : block.sliced(1))
        facts.insert(kind + line.section(u' ', 0, 0), line.section(u' ', 1));
}

QList<int> swp08Bytes(const QString &hex)
{
    QList<int> bytes;
    for (const QString &byte : hex.split(u' '))
        bytes.append(byte.toInt(nullptr, 16));
    return bytes;
}

void addSwp08Tally(const QString &message, Facts &facts)
{
    const QList<int> bytes = swp08Bytes(message);
    if (bytes.size() < 5)
        return;
    const QString level = (bytes[1] & 0x0f) == 0 ? QStringLiteral("video ") : QStringLiteral("audio ");
    if (bytes[0] == swp08::Command::Connected) {
        facts.insert(level + QString::number(bytes[3]), QString::number(bytes[4]));
    } else if (bytes[0] == swp08::Command::TallyDumpBytes) {
        for (int i = 0; i < bytes[2] && 4 + i < bytes.size(); ++i)
            facts.insert(level + QString::number(bytes[3] + i), QString::number(bytes[4 + i]));
    }
}

Facts lockFacts(const SoakPorts &ports)
{
    Swp08Peer peer(ports.swp08);
    peer.send("13 00 00 00");
    peer.send("01 00 00 00");
    Facts facts;
    if (!QTest::qWaitFor([&] { return !peer.received().isEmpty() && peer.received().last().startsWith(u"03 "); },
                         WaitMs)) {
        facts.insert(QStringLiteral("lock dump"), QStringLiteral("incomplete"));
    }
    for (const QString &item : peer.received()) {
        const QList<int> bytes = swp08Bytes(item);
        if (bytes.size() < 5 || bytes[0] != swp08::Command::ProtectDump)
            continue;
        const int first = bytes[3] * 256 + bytes[4];
        for (int i = 0; i < bytes[2] && 6 + 2 * i < bytes.size(); ++i) {
            const int details = bytes[5 + 2 * i] >> 4;
            facts.insert(QStringLiteral("lock %1").arg(first + i),
                         details == 0 ? QStringLiteral("U") : QStringLiteral("L"));
        }
    }
    leaveAndWait(peer.socket);
    return facts;
}

Facts VideohubListener::read()
{
    if (!m_peer || m_peer->socket.state() != QAbstractSocket::ConnectedState) {
        m_peer = std::make_unique<VideohubPeer>(m_ports.videohub);
        (void)m_peer->waitForBlocks(VideohubPeer::DumpBlocks);
        m_told.clear();
    }
    // A controller's keep-alive, so the server never takes it for gone.
    m_peer->send("PING:\n\n");
    const auto &blocks = m_peer->waitForBlocks(m_peer->blocks().size() + 1);
    for (const QStringList &block : blocks)
        addVideohubBlock(block, m_told);
    m_peer->forget(blocks.size());
    return m_told;
}

Facts VideohubListener::expected(const Facts &reference) const
{
    return factsStartingWith(reference, {QStringLiteral("input-name "), QStringLiteral("output-name "),
                                         QStringLiteral("video "), QStringLiteral("lock ")});
}

Facts Swp08Listener::read()
{
    if (!m_peer || m_peer->socket.state() != QAbstractSocket::ConnectedState) {
        m_peer = std::make_unique<Swp08Peer>(m_ports.swp08);
        m_peer->send("15 00");
        m_peer->send("15 01");
        m_told.clear();
    }
    // Whatever was announced is in once the answer to an interrogate is.
    const QStringList &received = m_peer->received();
    const auto answers = [&received] {
        return std::count_if(received.begin(), received.end(),
                             [](const QString &item) { return item.startsWith(u"03 "); });
    };
    const auto before = answers();
    m_peer->send("01 00 00 00");
    (void)QTest::qWaitFor([&] { return answers() > before; }, WaitMs);
    for (const QString &message : received)
        addSwp08Tally(message, m_told);
    m_peer->forget(received.size());
    return m_told;
}

Facts Swp08Listener::expected(const Facts &reference) const
{
    return factsStartingWith(reference, {QStringLiteral("video "), QStringLiteral("audio ")});
}

QString displayText(const QString &name)
{
    QString text;
    for (const char32_t c : name.normalized(QString::NormalizationForm_KD).toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
            category == QChar::Mark_Enclosing)
            continue;
        text += c >= 0x20 && c <= 0x7e ? QChar(char16_t(c)) : QChar(u'?');
    }
    return text;
}

UmdListener::UmdListener(const SoakPorts &ports) : m_ports(ports)
{
    for (UmdPeer *peer : {&m_follow, &m_outputs}) {
        peer->stop();
        if (!peer->listen(ports.umd))
            m_shown.insert(QStringLiteral("umd listener"), QStringLiteral("cannot listen on %1").arg(ports.umd));
    }
}

Facts UmdListener::read()
{
    QTest::qWait(UmdSettleMs);
    for (const QString &line : m_follow.take())
        addUmdLine(QStringLiteral("umd31 "), line, m_shown);
    for (const QString &line : m_outputs.take())
        addUmdLine(QStringLiteral("umd5 "), line, m_shown);
    return m_shown;
}

Facts UmdListener::expected(const Facts &reference) const
{
    Facts facts;
    for (int output = 0; output < m_ports.outputs; ++output) {
        const bool locked = reference.value(QStringLiteral("lock %1").arg(output)) == u"L";
        const QString input = reference.value(QStringLiteral("video %1").arg(output));
        const QString source =
            input.isEmpty()
                ? QStringLiteral("---")
                : displayText(reference.value(QStringLiteral("input-name ") + input)).left(Tsl31Characters).trimmed();
        facts.insert(QStringLiteral("umd31 %1").arg(output),
                     (locked ? QStringLiteral("31 ") : QStringLiteral("30 ")) + source);
        const QString own = displayText(reference.value(QStringLiteral("output-name %1").arg(output)));
        facts.insert(QStringLiteral("umd5 %1").arg(output),
                     (locked ? QStringLiteral("00d0 ") : QStringLiteral("00c0 ")) + own.left(Tsl5Characters));
    }
    return facts;
}
