#include "remote/swp08/CrosspointAnswers.h"
#include "remote/swp08/FrameReader.h"
#include "remote/swp08/FrameWriter.h"
#include "remote/swp08/Implementation.h"
#include "remote/swp08/NameAnswers.h"
#include "remote/swp08/ProtectAnswers.h"
#include "remote/swp08/RequestDecoder.h"
#include "remote/swp08/SalvoAnswers.h"
#include "support/DataRows.h"

#include <QTest>

// SW-P-08 without sockets: how a client's bytes are cut into messages and
// which are acknowledged, what each request reads as, and the bytes of every
// answer. Bytes are written in hex; the documented examples are the
// protocol's own (its appendix of dialogues).

using namespace swp08;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// A message as a test reads it: its bytes in hex, or its size where long.
QString summary(const QByteArray &bytes)
{
    if (bytes.size() <= 64)
        return QString::fromLatin1(bytes.toHex(' '));
    return QStringLiteral("%1 .. (%2 bytes)").arg(QString::fromLatin1(bytes.first(6).toHex(' '))).arg(bytes.size());
}

QStringList read(FrameReader &reader, QByteArrayView bytes)
{
    static const char *const Kinds[] = {"", "nak", "client-ack", "client-nak"};
    QStringList events;
    for (const LinkEvent &event : reader.feed(bytes))
        events << (event.kind == LinkEvent::Kind::Message ? summary(event.data)
                                                          : QString::fromLatin1(Kinds[int(event.kind)]));
    return events;
}

// One request in a few words: its kind ("*" when extended), then its numbers
// in message order ("connect* 0 1 5 7"); -1 for "all names".
QString text(const char *kind, Form form, const QList<int> &numbers)
{
    QString text = QString::fromLatin1(kind) + (form == Form::Extended ? "*" : "");
    for (const int number : numbers)
        text += u' ' + QString::number(number);
    return text;
}

QList<int> numbers(const Address &address)
{
    return {address.matrix, address.level, address.destination};
}

QList<int> numbers(const Route &route)
{
    return numbers(route.address) << route.source;
}

QString describe(const Request &request)
{
    struct Text
    {
        QString operator()(const Ignored &) const { return QStringLiteral("ack-only"); }
        QString operator()(const Interrogate &r) const { return text("interrogate", r.form, numbers(r.address)); }
        QString operator()(const Connect &r) const { return text("connect", r.form, numbers(r.route)); }
        QString operator()(const TallyDumpRequest &r) const { return text("dump", r.form, {r.matrix, r.level}); }
        QString operator()(const NamesRequest &r) const
        {
            return text(r.kind == NameKind::Source ? "source-names" : "dest-names", r.form,
                        {r.matrix, r.level, characters(r.length), r.number.value_or(-1)});
        }
        QString operator()(const ProtectInterrogate &r) const { return text("protect?", r.form, numbers(r.address)); }
        QString operator()(const ProtectChange &r) const
        {
            const bool protect = r.action == ProtectChange::Action::Protect;
            return text(protect ? "protect" : "unprotect", r.form, numbers(r.address) << r.device);
        }
        QString operator()(const ProtectDumpRequest &r) const
        {
            return text("protect-dump", r.form, {r.matrix, r.level, r.first});
        }
        QString operator()(const SalvoStore &r) const { return text("store", r.form, numbers(r.route) << r.group); }
        QString operator()(const SalvoGo &r) const
        {
            return text(r.operation == SalvoGo::Operation::Set ? "go" : "clear", Form::Normal, {r.group});
        }
        QString operator()(const SalvoInterrogate &r) const { return text("salvo?", r.form, {r.group, r.index}); }
        QString operator()(const ImplementationRequest &) const { return QStringLiteral("implementation"); }
    };
    return std::visit(Text{}, request);
}

} // namespace

class TestSwp08Codec : public QObject
{
    Q_OBJECT

private slots:
    // The protocol's documented dialogues framed as shown, and a DLE in
    // DATA, in BTC (16 bytes) and in CHK sent twice wherever it stands; each
    // read back whole.
    void framing()
    {
        QList<std::pair<QByteArray, QByteArray>> frames{
            {hex("61"), hex("10 02 61 01 9e 10 03")},
            {hex("01 11 00 01"), hex("10 02 01 11 00 01 04 e9 10 03")},
            {hex("03 11 01 01 19"), hex("10 02 03 11 01 01 19 05 cc 10 03")}};
        for (int at = 0; at < 16; ++at) {
            QByteArray data(16, '\0');
            data[at] = 0x10;
            data[(at + 1) % 16] = char(0xd0); // makes the checksum 0x10
            frames.append(
                {data, hex("10 02") + QByteArray(data).replace("\x10", "\x10\x10") + hex("10 10 10 10 10 03")});
        }
        for (const auto &[data, frame] : std::as_const(frames)) {
            QCOMPARE(FrameWriter::frame(data).toHex(' '), frame.toHex(' '));
            FrameReader reader;
            QCOMPARE(read(reader, frame), QStringList{summary(data)});
        }
    }

    void link_data()
    {
        columns<QByteArray, QStringList>({"bytes", "events"});
        const auto row = [](const char *name, const QByteArray &bytes, const QStringList &events) {
            QTest::newRow(name) << bytes << events;
        };
        const QByteArray request = hex("10 02 61 01 9e 10 03");
        const QByteArray overlong = hex("10 02") + QByteArray(258, 0x01) + hex("10 03");
        const QByteArray longest(255, 'a');
        // clang-format off
        row("stray bytes, lone DLEs, ETX between messages",
            hex("00 ff 10 03 10") + request + hex("7f 10 10") + request + hex("10 10 10"), {"61", "61"});
        row("bad checksum, bad count", hex("10 02 61 01 9f 10 03 10 02 61 02 9d 10 03"), {"nak", "nak"});
        row("no DATA", hex("10 02 10 03 10 02 05 10 03 10 02 00 00 10 03"), {"nak", "nak", "nak"});
        row("DLE STX inside a message drops it unanswered", hex("10 02 01 00") + request, {"61"});
        row("client ACK and NAK anywhere, not data", hex("10 06 10 02 61 10 06 01 10 15 9e 10 03"),
            {"client-ack", "client-ack", "client-nak", "61"});
        row("unknown DLE pair: NAK at once, the rest skipped", hex("10 02 61 10 05 01 9e 10 03") + request,
            {"nak", "61"});
        row("a skipped message's stuffed DLE starts nothing", hex("10 02 61 10 05 10 10 02 01 9e 10 03") + request,
            {"nak", "61"});
        row("255 DATA bytes", FrameWriter::frame(longest), {summary(longest)});
        row("256 DATA bytes: NAK once, then the next message", overlong + request, {"nak", "61"});
        // clang-format on
    }

    // Fed in pieces of every size: byte by byte, the first cut at every
    // byte, and whole.
    void link()
    {
        const auto [bytes, events] = fetch<QByteArray, QStringList>({"bytes", "events"});
        for (qsizetype size = 1; size <= bytes.size(); ++size) {
            FrameReader reader;
            QStringList pieces;
            for (qsizetype at = 0; at < bytes.size(); at += size)
                pieces += read(reader, bytes.mid(at, size));
            QVERIFY2(pieces == events, qPrintable(QStringLiteral("pieces of %1: ").arg(size) + pieces.join(u',')));
        }
    }

    void requests_data()
    {
        columns<QByteArray, QString>({"data", "request"});
        const auto row = [](const char *name, const char *data, const char *request) {
            QTest::newRow(name) << hex(data) << QString::fromLatin1(request);
        };
        // clang-format off
        row("multiplier: 1023 both ways, bad-source bit ignored", "02 00 7f 7f 7f", "connect 0 0 1023 1023");
        row("interrogate ignores the source multiplier", "01 00 17 05", "interrogate 0 0 133");
        row("extended numbers high byte first", "82 02 03 01 02 03 04", "connect* 2 3 258 772");
        row("extended interrogate", "81 00 01 ff ff", "interrogate* 0 1 65535");
        row("tally dumps", "15 12", "dump 1 2");
        row("extended tally dump, any level", "95 00 c8", "dump* 0 200");
        row("all source names, 12 characters", "64 01 02", "source-names 0 1 12 -1");
        row("one source name", "65 00 00 01 05", "source-names 0 0 4 261");
        row("all destination names: level bits not used", "66 3f 01", "dest-names 3 0 8 -1");
        row("one destination name", "67 00 02 00 09", "dest-names 0 0 12 9");
        row("extended source names", "e4 00 01 01", "source-names* 0 1 8 -1");
        row("extended one source name", "e5 00 01 00 00 07", "source-names* 0 1 4 7");
        row("extended destination names", "e6 00 02", "dest-names* 0 0 12 -1");
        row("extended one destination name", "e7 00 00 01 00", "dest-names* 0 0 4 256");
        row("protect interrogate", "0a 01 12 05", "protect? 0 1 133");
        row("protect connect: device multiplier", "0c 01 12 05 07", "protect 0 1 133 263");
        row("protect disconnect", "0e 00 00 03 00", "unprotect 0 0 3 0");
        row("extended protect interrogate", "8a 00 00 00 03", "protect?* 0 0 3");
        row("extended protect connect", "8c 00 01 00 03 03 ff", "protect* 0 1 3 1023");
        row("extended protect disconnect", "8e 00 00 00 03 00 09", "unprotect* 0 0 3 9");
        row("protect dump from 300", "13 01 01 2c", "protect-dump 0 1 300");
        row("extended protect dump", "93 00 01 00 00", "protect-dump* 0 1 0");
        row("salvo store", "78 01 00 02 03 7f", "store 0 1 2 3 127");
        row("extended salvo store", "f8 00 01 00 02 00 03 05", "store* 0 1 2 3 5");
        row("go", "79 00 05", "go 5");
        row("clear", "79 01 7f", "clear 127");
        row("salvo interrogate", "7c 05 ff", "salvo? 5 255");
        row("extended salvo interrogate", "fc 05 01 00", "salvo?* 5 256");
        row("implementation request", "61", "implementation");
        row("not implemented", "08", "ack-only");
        row("short", "01 00 00", "ack-only");
        row("long", "61 00", "ack-only");
        row("remainder above 127", "01 00 00 80", "ack-only");
        row("multiplier bit 7", "02 00 80 00 00", "ack-only");
        row("name length 16", "64 00 03", "ack-only");
        row("salvo group 128", "f8 00 00 00 00 00 00 80", "ack-only");
        row("go operation 2", "79 02 00", "ack-only");
        row("device beyond 1023", "8c 00 00 00 00 04 00", "ack-only");
        // clang-format on
    }

    void requests()
    {
        const auto [data, request] = fetch<QByteArray, QString>({"data", "request"});
        QCOMPARE(describe(decodeRequest(data)), request);
    }

    // Every answer's messages; long ones by where each starts and how long it is.
    void answers_data()
    {
        columns<QList<QByteArray>, QStringList>({"messages", "expected"});
        const auto row = [](const char *name, const QList<QByteArray> &messages, const QStringList &expected) {
            QTest::newRow(name) << messages << expected;
        };
        const Route unknown{{0, 1, 133}, UnknownSource};
        const SalvoInterrogate fourth{Form::Normal, 5, 3};
        const TallyDumpRequest level1{Form::Normal, 0, 1};
        QList<std::optional<int>> runs{5, std::nullopt, 7, 8};
        QList<std::optional<int>> many(130, 1);
        many[64] = std::nullopt;
        QList<ProtectState> locks(66);
        locks[1] = {ProtectDetails::HeldByClient, 7};
        locks[2] = {ProtectDetails::HeldByOther, 0};
        const NamesRequest sources4{Form::Normal, NameKind::Source, 0, 1, NameLength::Four, std::nullopt};
        const NamesRequest destinations12{Form::Normal, NameKind::Destination, 2, 0, NameLength::Twelve, std::nullopt};
        const NamesRequest extendedDestinations{Form::Extended, NameKind::Destination, 0, 0, NameLength::Eight, 9};
        const NamesRequest extendedSources{Form::Extended, NameKind::Source, 0, 1, NameLength::Eight, std::nullopt};
        // clang-format off
        row("documented connected", {crosspointConnected(Form::Normal, {{1, 1, 2}, 0})}, {"04 11 00 02 00"});
        row("unknown source", {crosspointTally(Form::Normal, unknown)}, {"03 01 17 05 7f"});
        row("extended tally, status 0", {crosspointTally(Form::Extended, unknown)}, {"83 00 01 00 85 03 ff 00"});
        row("extended connected", {crosspointConnected(Form::Extended, {{1, 1, 1}, 153})}, {"84 01 01 00 01 00 99 00"});
        row("protect tally, own", {protectMessage(Form::Normal, ProtectMessage::Tally, {0, 1, 133},
            {ProtectDetails::HeldByClient, 263})}, {"0b 01 03 12 05 07"});
        row("protect connected, another's", {protectMessage(Form::Normal, ProtectMessage::Connected, {0, 0, 3},
            {ProtectDetails::HeldByOther, 0})}, {"0d 00 02 00 03 00"});
        row("extended protect disconnected", {protectMessage(Form::Extended, ProtectMessage::Disconnected, {0, 1, 3},
            {})}, {"8f 00 01 00 00 03 00 00"});
        row("salvo stored", {salvoStored({Form::Normal, {{0, 1, 130}, 2}, 9})}, {"7a 01 10 02 02 09"});
        row("extended salvo stored", {salvoStored({Form::Extended, {{0, 1, 130}, 2}, 9})}, {"fa 00 01 00 82 00 02 09"});
        row("go done", {salvoGoDone(SalvoStatus::Empty, 4)}, {"7b 02 04"});
        row("salvo entry, more follow", {salvoTally(fourth, Route{{0, 1, 2}, 3}, false)}, {"7d 01 00 02 03 05 03 00"});
        row("salvo entry, the last", {salvoTally({Form::Extended, 5, 3}, Route{{0, 1, 2}, 3}, true)},
            {"fd 00 01 00 02 00 03 05 00 03 01"});
        row("no salvo entry", {salvoTally(fourth, std::nullopt, false)}, {"7d 00 00 00 00 05 03 02"});
        row("implementation status", {implementationStatus()},
            {"62 19 1c 03 04 0b 0d 0f 14 16 17 62 6a 6b 7a 7b 7d 83 84 8b 8d 8f 94 97 ea eb fa fd"
             " 01 02 0a 0c 0e 13 15 61 64 65 66 67 78 79 7c 81 82 8a 8c 8e 93 95 e4 e5 e6 e7 f8 fc"});
        row("tally dump: runs of known destinations", tallyDump(level1, runs), {"16 01 01 00 05", "16 01 02 02 07 08"});
        row("tally dump: nothing known", tallyDump(level1, {std::nullopt}), {"16 01 00 00"});
        row("tally dump: a number above 191 takes words", tallyDump(level1, {std::nullopt, 192}),
            {"17 01 01 00 01 00 c0"});
        row("tally dump: 64 at most, a gap starts anew", tallyDump(level1, many),
            {"16 01 40 00 01 01 .. (68 bytes)", "16 01 40 41 01 01 .. (68 bytes)", "16 01 01 81 01"});
        row("extended tally dump", tallyDump({Form::Extended, 0, 7}, runs),
            {"97 00 07 01 00 00 00 05", "97 00 07 02 00 02 00 07 00 08"});
        row("protect dump", protectDump({Form::Normal, 0, 1, 5}, locks.first(3)),
            {"14 01 03 00 05 00 00 30 07 20 00"});
        row("protect dump: 64 a message", protectDump({Form::Extended, 0, 0, 0}, locks),
            {"94 00 00 40 00 00 .. (134 bytes)", "94 00 00 02 00 40 00 00 00 00"});
        row("names: 32 of four characters a message", names(sources4, 0, QStringList(33, "x")),
            {"6a 01 00 00 00 20 .. (134 bytes)", "6a 01 00 00 20 01 78 20 20 20"});
        row("names: 10 of twelve, destination level 0", names(destinations12, 0, QStringList(11, "Monitor")),
            {"6b 20 02 00 00 0a .. (126 bytes)", "6b 20 02 00 0a 01 4d 6f 6e 69 74 6f 72 20 20 20 20 20"});
        row("one extended destination name", names(extendedDestinations, 9, {"PGM"}),
            {"eb 00 01 00 09 01 50 47 4d 20 20 20 20 20"});
        row("extended names: none", names(extendedSources, 0, {}), {"ea 00 01 01 00 00 00"});
        // Each character outside printable ASCII is one '?', then the name is cut or padded.
        row("name characters",
            names(sources4, 0, {"Cam 1", "Cam\u00e9", QString::fromUtf8("\U0001F600x"), "a\tb", "~ok"}),
            {"6a 01 00 00 00 05 " + QString::fromLatin1(QByteArray("Cam Cam??x  a?b ~ok ").toHex(' '))});
        // clang-format on
    }

    void answers()
    {
        const auto [messages, expected] = fetch<QList<QByteArray>, QStringList>({"messages", "expected"});
        QStringList texts;
        for (const QByteArray &message : std::as_const(messages))
            texts << summary(message);
        QCOMPARE(texts, expected);
    }
};

QTEST_GUILESS_MAIN(TestSwp08Codec)
#include "tst_swp08codec.moc"
