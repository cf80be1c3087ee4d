#include "remote/videohub/BlockReader.h"
#include "remote/videohub/BlockWriter.h"
#include "remote/videohub/PanelUniqueId.h"
#include "remote/videohub/RequestParser.h"

#include <QTest>

// The protocol's text without sockets, at its edges: how a client's bytes are
// cut and bounded, which lines are refused, what a written name cannot break.
// The common requests and answers run end to end in the server's test.

using namespace videohub;

namespace {

// A 4-input, 3-output matrix: input 3 and output 2 are the last ports.
constexpr MatrixSize Matrix{4, 3};

// One request in a few words: "change routing 0>1 2>3", "ping", "nak".
QString describe(const Request &request)
{
    static const char *const Kinds[] = {"change", "query", "ping", "ack-only", "nak"};
    static const char *const Blocks[] = {"preamble", "device", "input-labels", "output-labels", "locks", "routing"};
    QStringList words{QString::fromLatin1(Kinds[int(request.kind)])};
    if (request.kind == Request::Kind::Change || request.kind == Request::Kind::Query)
        words << QString::fromLatin1(Blocks[int(request.block)]);
    for (const RouteLine &route : request.routes)
        words << QStringLiteral("%1>%2").arg(route.output).arg(route.input);
    for (const LabelLine &label : request.labels)
        words << QStringLiteral("%1=[%2]").arg(label.port).arg(label.name);
    for (const LockLine &lock : request.locks)
        words << QStringLiteral("%1%2").arg(lock.output).arg(QChar(char(lock.action)));
    return words.join(u' ');
}

QStringList read(BlockReader &reader, QByteArrayView bytes)
{
    QStringList answers;
    for (const RawBlock &block : reader.feed(bytes))
        answers << describe(ParseRequest(block, Matrix));
    return answers;
}

// One block of `header` for each item, the item its lines.
QByteArray blocks(const QByteArray &header, const QList<QByteArray> &items)
{
    QByteArray bytes;
    for (const QByteArray &item : items)
        bytes += header + '\n' + item + "\n\n";
    return bytes;
}

QStringList naks(int count)
{
    return QStringList(count, QStringLiteral("nak"));
}

} // namespace

class TestVideohubBlocks : public QObject
{
    Q_OBJECT

private slots:
    void requests_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("requests");
        const auto row = [](const char *name, const QByteArray &bytes, const QStringList &requests) {
            QTest::newRow(name) << bytes << requests;
        };
        const QByteArray routing = "VIDEO OUTPUT ROUTING:";
        const QByteArray kib(1022, 'x');
        const QByteArray lines1024 = QByteArray("1 2\n").repeated(1023) + "1 2";
        // clang-format off
        row("CR LF and trailing blanks tolerated", "VIDEO OUTPUT ROUTING:\r\n0 1 \r\n\r\n", {"change routing 0>1"});
        row("blank lines skipped, unfinished block waits", "\n\nPING:\n\n\nPING:\n\n\n" + routing + "\n0 1\n", {"ping", "ping"});
        row("last output and input in range", blocks(routing, {"2 3\n0 1"}), {"change routing 2>3 0>1"});
        row("ports out of range, a bad line refuses its block", blocks(routing, {"3 0", "0 4", "0 1\n1 x"}), naks(3));
        row("malformed routes", blocks(routing, {"0", "-1 2", "+1 2", "0 1 2", "00000 1"}), naks(5));
        row("labels keep their spaces, UTF-8", blocks("INPUT LABELS:", {"0 Camera 1 wide\n3  lead space\n1 \n2 Caméra"}),
            {"change input-labels 0=[Camera 1 wide] 3=[ lead space] 1=[] 2=[Caméra]"});
        row("labels refused: semicolon, no name, no port", blocks("OUTPUT LABELS:", {"0 Mon 1\n1 Mon;2", "0", "3 x"}), naks(3));
        // A control character would write set-up lines of its own or reach terminals as escapes.
        row("labels refused: CR, NUL, ESC, BEL, backspace, DEL, C1", blocks("INPUT LABELS:", {"1 ok\n0 X\rCom Port: 2",
            QByteArray("0 a\0b", 5), "0 \x1b[31mred", "0 bell\a", "0 back\b", "0 del\x7f", "0 nel\xc2\x85",
            "0 csi\xc2\x9b"}), naks(8));
        row("labels keep tab, quote, backslash, markup, &", blocks("INPUT LABELS:", {"0 a\tb \"c\" \\d <b>&</b>"}),
            {"change input-labels 0=[a\tb \"c\" \\d <b>&</b>]"});
        row("lock letters are exact", blocks("VIDEO OUTPUT LOCKS:", {"0 L", "0 o", "0 OU", "3 O"}), naks(4));
        row("ping takes no items", blocks("PING:", {"", "x"}), {"ping", "nak"});
        row("blocks of hardware this device lacks", "SERIAL PORT ROUTING:\n0 1\n\nMONITORING OUTPUT LABELS:\n\n"
            "FRAME BUFFER LOCKS:\n0 O\n\nPROCESSING UNIT ROUTING:\n0 0\n\nALARM STATUS:\n\n", QStringList(5, "ack-only"));
        row("not understood", "HELLO:\n\nvideo output routing:\n0 1\n\nVIDEOHUB DEVICE:\nModel name: x\n\nPROTOCOL PREAMBLE:\n"
            "Version: 2.8\n\nVIDEO OUTPUT ROUTING\n0 1\n\nEND PRELUDE:\n\n" + QByteArray("PING:\0\n\n", 8), naks(7));
        // A CR before the LF does not count against the bound.
        row("a line of 1 KiB", "INPUT LABELS:\r\n0 " + kib + "\r\n\r\n", {"change input-labels 0=[" + kib + "]"});
        row("a line beyond 1 KiB, then the next block", "INPUT LABELS:\n0 x" + kib + "\n1 y\n\nPING:\n\n", {"nak", "ping"});
        row("a header beyond 1 KiB", "PING:" + QByteArray(1020, ' ') + "\n\nPING:\n\n", {"nak", "ping"});
        row("a block of 1024 lines", blocks(routing, {lines1024}), {"change routing " + QStringList(1024, "1>2").join(u' ')});
        row("a block beyond 1024 lines, then the next", blocks(routing, {lines1024 + "\n1 2"}) + "PING:\n\n", {"nak", "ping"});
        // clang-format on
    }

    // Whole, and cut at every byte: a block may arrive in any pieces.
    void requests()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, requests);
        BlockReader whole;
        QCOMPARE(read(whole, bytes), requests);
        BlockReader byByte;
        QStringList pieces;
        for (qsizetype i = 0; i < bytes.size(); ++i)
            pieces += read(byByte, QByteArrayView(bytes).sliced(i, 1));
        QCOMPARE(pieces, requests);
    }

    // A name is the rest of its line: a line break in it cannot end the block.
    void labelKeepsToItsLine()
    {
        QCOMPARE(
            BlockWriter::labels(Block::OutputLabels, {{2, QStringLiteral("Rec\r\nA")}, {0, QStringLiteral("Mon ü")}}),
            QByteArray("OUTPUT LABELS:\n2 Rec  A\n0 Mon \xc3\xbc\n\n"));
    }

    // The same folder gives the same id, another folder another.
    void uniqueIdFollowsTheFolder()
    {
        QCOMPARE(PanelUniqueId("/home/op/.config/Velmora"), PanelUniqueId("/home/op/.config/Velmora"));
        QVERIFY(PanelUniqueId("/home/op/.config/Velmora") != PanelUniqueId("/home/other/.config/Velmora"));
    }
};

QTEST_GUILESS_MAIN(TestVideohubBlocks)
#include "tst_videohubblocks.moc"
