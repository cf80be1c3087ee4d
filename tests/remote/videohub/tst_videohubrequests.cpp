#include "remote/videohub/BlockReader.h"
#include "remote/videohub/RequestParser.h"

#include <QRandomGenerator>
#include <QTest>

using namespace videohub;

namespace {

// A 4-input, 3-output matrix: input 3 and output 2 are the last ports.
constexpr MatrixSize Matrix{4, 3};

QString blockName(Block block)
{
    switch (block) {
    case Block::Preamble:
        return QStringLiteral("preamble");
    case Block::Device:
        return QStringLiteral("device");
    case Block::InputLabels:
        return QStringLiteral("input-labels");
    case Block::OutputLabels:
        return QStringLiteral("output-labels");
    case Block::Locks:
        return QStringLiteral("locks");
    case Block::Routing:
        break;
    }
    return QStringLiteral("routing");
}

// One request in a few words: "change routing 0>1 2>3", "query locks", "nak".
QString describe(const Request &request)
{
    switch (request.kind) {
    case Request::Kind::Ping:
        return QStringLiteral("ping");
    case Request::Kind::Unsupported:
        return QStringLiteral("ack-only");
    case Request::Kind::Invalid:
        return QStringLiteral("nak");
    case Request::Kind::Query:
        return QStringLiteral("query ") + blockName(request.block);
    case Request::Kind::Change:
        break;
    }
    QStringList items;
    for (const RouteLine &route : request.routes)
        items << QStringLiteral("%1>%2").arg(route.output).arg(route.input);
    for (const LabelLine &label : request.labels)
        items << QStringLiteral("%1=[%2]").arg(label.port).arg(label.name);
    for (const LockLine &lock : request.locks)
        items << QStringLiteral("%1%2").arg(lock.output).arg(QChar(char(lock.action)));
    return QStringLiteral("change ") + blockName(request.block) + u' ' + items.join(u' ');
}

QStringList read(BlockReader &reader, QByteArrayView bytes)
{
    QStringList answers;
    for (const RawBlock &block : reader.feed(bytes))
        answers << describe(ParseRequest(block, Matrix));
    return answers;
}

QByteArray repeated(const QByteArray &line, int times)
{
    QByteArray lines;
    for (int i = 0; i < times; ++i)
        lines += line;
    return lines;
}

} // namespace

class TestVideohubRequests : public QObject
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
        row("routes in order", "VIDEO OUTPUT ROUTING:\n2 3\n0 1\n2 0\n\n", {"change routing 2>3 0>1 2>0"});
        row("CR LF and trailing blanks tolerated", "VIDEO OUTPUT ROUTING:\r\n0 1 \r\n\r\n", {"change routing 0>1"});
        row("blank lines between blocks, an unfinished block waits",
            "\n\nPING:\n\n\nPING:\n\n\nVIDEO OUTPUT ROUTING:\n0 1\n", {"ping", "ping"});
        row("last output and input are in range", "VIDEO OUTPUT ROUTING:\n2 3\n\n", {"change routing 2>3"});
        row("output out of range", "VIDEO OUTPUT ROUTING:\n3 0\n\n", {"nak"});
        row("input out of range", "VIDEO OUTPUT ROUTING:\n0 4\n\n", {"nak"});
        row("one bad line refuses the whole block", "VIDEO OUTPUT ROUTING:\n0 1\n1 x\n\n", {"nak"});
        row("malformed routes",
            "VIDEO OUTPUT ROUTING:\n0\n\nVIDEO OUTPUT ROUTING:\n-1 2\n\nVIDEO OUTPUT ROUTING:\n+1 2\n\n"
            "VIDEO OUTPUT ROUTING:\n0 1 2\n\nVIDEO OUTPUT ROUTING:\n00000 1\n\n",
            {"nak", "nak", "nak", "nak", "nak"});
        row("labels keep their spaces", "INPUT LABELS:\n0 Camera 1 wide\n3  lead space\n1 \n\n",
            {"change input-labels 0=[Camera 1 wide] 3=[ lead space] 1=[]"});
        row("label with a semicolon refuses the block", "OUTPUT LABELS:\n0 Mon 1\n1 Mon;2\n\n", {"nak"});
        row("label without a name", "INPUT LABELS:\n0\n\n", {"nak"});
        row("output labels are checked against the outputs", "OUTPUT LABELS:\n3 x\n\nINPUT LABELS:\n3 x\n\n",
            {"nak", "change input-labels 3=[x]"});
        row("label text is UTF-8", "INPUT LABELS:\n0 Caméra\n\n", {"change input-labels 0=[Caméra]"});
        row("lock letters", "VIDEO OUTPUT LOCKS:\n0 O\n1 U\n2 F\n\n", {"change locks 0O 1U 2F"});
        row("lock letters are exact",
            "VIDEO OUTPUT LOCKS:\n0 L\n\nVIDEO OUTPUT LOCKS:\n0 o\n\nVIDEO OUTPUT LOCKS:\n3 O\n\n",
            {"nak", "nak", "nak"});
        row("bare headers ask for the block",
            "PROTOCOL PREAMBLE:\n\nVIDEOHUB DEVICE:\n\nINPUT LABELS:\n\nOUTPUT LABELS:\n\n"
            "VIDEO OUTPUT LOCKS:\n\nVIDEO OUTPUT ROUTING:\n\n",
            {"query preamble", "query device", "query input-labels", "query output-labels", "query locks",
             "query routing"});
        row("ping takes no items", "PING:\n\nPING:\nx\n\n", {"ping", "nak"});
        row("blocks of hardware this device lacks",
            "SERIAL PORT ROUTING:\n0 1\n\nMONITORING OUTPUT LABELS:\n\nFRAME BUFFER LOCKS:\n0 O\n\n"
            "PROCESSING UNIT ROUTING:\n0 0\n\nALARM STATUS:\n\n",
            {"ack-only", "ack-only", "ack-only", "ack-only", "ack-only"});
        row("not understood",
            "HELLO:\n\nvideo output routing:\n0 1\n\nVIDEOHUB DEVICE:\nModel name: x\n\nPROTOCOL PREAMBLE:\nVersion: "
            "2.8\n\nVIDEO OUTPUT ROUTING\n0 1\n\nEND PRELUDE:\n\n",
            {"nak", "nak", "nak", "nak", "nak", "nak"});

        const QByteArray longest = "INPUT LABELS:\n0 " + QByteArray(1022, 'x') + "\n\n";
        row("a line of 1 KiB", longest, {"change input-labels 0=[" + QString(1022, u'x') + "]"});
        row("a line beyond 1 KiB, then the next block",
            "INPUT LABELS:\n0 " + QByteArray(1023, 'x') + "\n1 y\n\nPING:\n\n", {"nak", "ping"});
        row("a header beyond 1 KiB", QByteArray(5000, 'A') + "\n0 1\n\nPING:\n\n", {"nak", "ping"});
        row("a block of 1024 lines", "VIDEO OUTPUT ROUTING:\n" + repeated("1 2\n", 1024) + '\n',
            {"change routing " + QStringList(1024, QStringLiteral("1>2")).join(u' ')});
        row("a block beyond 1024 lines, then the next block",
            "VIDEO OUTPUT ROUTING:\n" + repeated("1 2\n", 1025) + "\nPING:\n\n", {"nak", "ping"});
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

    // Megabytes of noise leave the client's reader able to answer the next
    // request once the noise stops, and never hold more than one bounded block.
    void garbageStaysBounded_data()
    {
        QTest::addColumn<bool>("withLineEnds");
        QTest::newRow("one endless line") << false;
        QTest::newRow("random bytes with line ends") << true;
    }

    void garbageStaysBounded()
    {
        QFETCH(bool, withLineEnds);
        BlockReader reader;
        QRandomGenerator random(17);
        QByteArray chunk(64 * 1024, Qt::Uninitialized);
        qsizetype answered = 0;
        for (int i = 0; i < 64; ++i) {
            for (char &c : chunk) {
                c = char(random.bounded(256));
                if (!withLineEnds && c == '\n')
                    c = 'x';
            }
            for (const RawBlock &block : reader.feed(chunk)) {
                QVERIFY(block.lines.size() <= BlockReader::MaxBlockLines);
                QVERIFY(block.header.size() <= BlockReader::MaxLineBytes);
                ++answered;
            }
        }
        const QStringList after = read(reader, "\n\nPING:\n\n");
        QVERIFY(!after.isEmpty());
        QCOMPARE(after.last(), QStringLiteral("ping"));
        if (!withLineEnds)
            QCOMPARE(answered, 0);
    }
};

QTEST_GUILESS_MAIN(TestVideohubRequests)
#include "tst_videohubrequests.moc"
