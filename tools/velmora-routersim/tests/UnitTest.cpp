#include "FrameScanner.h"
#include "RouterBank.h"
#include "SimOptions.h"

#include <QTest>

using namespace routersim;

namespace {

QByteArray frame(int address, int in, int out)
{
    const auto bytes = CrosspointFrame::build(std::uint8_t(address), std::uint8_t(in), std::uint8_t(out));
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

} // namespace

class TestRouterSim : public QObject
{
    Q_OBJECT

private slots:
    // Each stream, cut into reads of every size, gives the same windows,
    // judged by routers at 0-4 and 6: 0 acknowledges (its own answer beats
    // the "*" given after it), 2 refuses, the others stay silent.
    void streamsAreScannedAndJudged_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QString>("judged");
        // clang-format off
        QTest::newRow("two good frames") << frame(0, 0, 7) + frame(2, 4, 2)
            << "BE EF 00 00 00 00 07 56 router=0 input=0 output=7 ack|BE EF 02 00 00 04 02 55 router=2 input=4 output=2 refused:21";
        QTest::newRow("noise before a frame, including a lone first start byte") << QByteArray::fromHex("0011BE22EF") + frame(3, 0, 0)
            << "BE EF 03 00 00 00 00 52 router=3 input=0 output=0 silent";
        QTest::newRow("bad check byte, then a good frame") << QByteArray::fromHex("BEEF0100000402FF") + frame(0, 1, 1)
            << "BE EF 01 00 00 04 02 FF router=1 input=4 output=2 bad-check|BE EF 00 00 00 01 01 51 router=0 input=1 output=1 ack";
        // The truncated frame swallows the start of the next one; the good
        // frame must still come out after the bad window.
        QTest::newRow("truncated frame in front of a good one") << QByteArray::fromHex("BEEF01") + frame(0, 1, 1)
            << "BE EF 01 BE EF 00 00 00 router=1 input=0 output=0 bad-check|BE EF 00 00 00 01 01 51 router=0 input=1 output=1 ack";
        QTest::newRow("start bytes inside a good frame are not a new frame") << frame(5, 0xBE, 0xEF) + frame(200, 0, 0)
            << "BE EF 05 00 00 BE EF 05 router=5 input=190 output=239 no-router|BE EF C8 00 00 00 00 99 router=200 input=0 output=0 no-router";
        QTest::newRow("incomplete frame at the end is held back") << frame(6, 1, 2) + QByteArray::fromHex("BEEF07")
            << "BE EF 06 00 00 01 02 54 router=6 input=1 output=2 silent";
        // clang-format on
    }

    void streamsAreScannedAndJudged()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QString, judged);
        const QString expected = QStringLiteral("12.345 ") + judged.replace(u'|', QStringLiteral("|12.345 "));
        const auto parsed = parseCommandLine({"--link", "x", "--routers", "0-4,6", "--answer", "0=ack", "--answer",
                                              "*=silent", "--answer", "2=code:21"});
        QVERIFY(parsed.action == ParseOutcome::Action::Run);
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(stream.constData());
        const auto size = std::size_t(stream.size());
        for (std::size_t chunk = 1; chunk <= size; ++chunk) {
            FrameScanner scanner;
            QStringList lines;
            for (std::size_t at = 0; at < size; at += chunk) {
                for (const auto &window : scanner.feed({bytes + at, std::min(chunk, size - at)})) {
                    const auto verdict = receive(parsed.options, window).verdict;
                    lines << QString::fromStdString(logLine(std::chrono::milliseconds{12'345}, window, verdict));
                }
            }
            // The chunk size in front tells which cut failed.
            const QString cut = QStringLiteral("chunks of %1: ").arg(chunk);
            QCOMPARE(cut + lines.join(u'|'), cut + expected);
        }
    }

    // --trouble spoils only acknowledgements, the same way for the same seed,
    // with the three troubles and delays within the bound.
    void troubleIsSeededAndBounded_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<int>("spoiledAtLeast");
        QTest::addColumn<int>("spoiledAtMost");
        QTest::newRow("none") << "9:0" << 0 << 0;
        QTest::newRow("some") << "9:10:40" << 5 << 30;
        QTest::newRow("every frame") << "9:100:40" << 150 << 150;
    }

    void troubleIsSeededAndBounded()
    {
        QFETCH(QString, trouble);
        QFETCH(int, spoiledAtLeast);
        QFETCH(int, spoiledAtMost); // of the 150 frames to router 0
        const std::string text = trouble.toStdString();
        const auto parsed = parseCommandLine({"--link", "x", "--answer", "1=code:7", "--trouble", text});
        QVERIFY(parsed.action == ParseOutcome::Action::Run);
        const auto verdicts = [&] {
            TroubleDraw draw(*parsed.options.trouble);
            QStringList all;
            for (int i = 0; i < 300; ++i) {
                const auto window = CrosspointFrame::build(std::uint8_t(i % 2 ? 1 : 0), 1, std::uint8_t(i % 100));
                all << QString::fromStdString(receive(parsed.options, window, &draw).verdict);
            }
            return all;
        };
        const QStringList first = verdicts();
        QCOMPARE(verdicts(), first);
        QSet<QString> kinds;
        int spoiled = 0;
        for (qsizetype i = 0; i < first.size(); ++i) {
            const QString &verdict = first[i];
            if (i % 2) { // router 1 answers as told, never troubled
                QCOMPARE(verdict, QStringLiteral("refused:7"));
                continue;
            }
            if (verdict == u"ack")
                continue;
            ++spoiled;
            const int delay = verdict.section(u'=', 1).toInt();
            QVERIFY2(verdict == u"refused:21" || verdict == u"silent" ||
                         (verdict.startsWith(u"ack delay=") && delay >= 1 && delay <= 40),
                     qPrintable(verdict));
            kinds.insert(verdict.section(u' ', 0, 0));
        }
        QVERIFY2(spoiled >= spoiledAtLeast && spoiled <= spoiledAtMost, qPrintable(QString::number(spoiled)));
        if (spoiled >= 30)
            QCOMPARE(kinds.size(), 3);
    }
};

QTEST_APPLESS_MAIN(TestRouterSim)
#include "UnitTest.moc"
