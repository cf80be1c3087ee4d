#include "HalfClose.h"
#include "Listeners.h"
#include "Views.h"
#include "remote/swp08/Commands.h"
#include "support/Swp08Peer.h"

namespace {

constexpr int NameWidth = 12;

// A name as a twelve-character SW-P-08 name shows it.
QString wireName(const QString &name)
{
    QString shown;
    for (const char32_t character : name.toUcs4()) {
        if (shown.size() == NameWidth)
            break;
        shown += character >= U' ' && character <= U'~' ? QChar(character) : QChar(u'?');
    }
    return shown.leftJustified(NameWidth, u' ');
}

void addNames(const QString &kind, const QList<int> &bytes, Facts &facts)
{
    const int first = bytes[3] * 256 + bytes[4];
    const int count = bytes[5];
    for (int i = 0; i < count; ++i) {
        QString name;
        for (int c = 0; c < NameWidth && 6 + i * NameWidth + c < bytes.size(); ++c)
            name += QChar(bytes[6 + i * NameWidth + c]);
        facts.insert(kind + QString::number(first + i), name);
    }
}

} // namespace

Facts Swp08View::read()
{
    using namespace swp08::Command;
    Swp08Peer peer(m_ports.swp08);
    // Answered in order: the interrogate's tally comes after all the rest.
    peer.send("15 00");
    peer.send("15 01");
    peer.send("64 00 02");
    peer.send("66 00 02");
    peer.send("01 00 00 00");
    Facts facts;
    const bool complete = QTest::qWaitFor(
        [&] {
            const QStringList &items = peer.received();
            return !items.isEmpty() && items.last().startsWith(u"03 ");
        },
        20000);
    if (!complete)
        facts.insert(QStringLiteral("answers"), QStringLiteral("incomplete"));
    for (const QString &item : peer.received()) {
        const QList<int> bytes = swp08Bytes(item);
        if (bytes.size() < 3)
            continue;
        if (bytes[0] == TallyDumpBytes)
            addSwp08Tally(item, facts);
        else if (bytes[0] == SourceNames && bytes.size() > 6)
            addNames(QStringLiteral("input-name "), bytes, facts);
        else if (bytes[0] == DestinationNames && bytes.size() > 6)
            addNames(QStringLiteral("output-name "), bytes, facts);
    }
    leaveAndWait(peer.socket);
    return facts;
}

Facts Swp08View::expected(const Facts &reference) const
{
    Facts facts = factsStartingWith(reference, {QStringLiteral("video "), QStringLiteral("audio ")});
    const Facts names = factsStartingWith(reference, {QStringLiteral("input-name "), QStringLiteral("output-name ")});
    for (auto it = names.begin(); it != names.end(); ++it)
        facts.insert(it.key(), wireName(it.value()));
    return facts;
}
