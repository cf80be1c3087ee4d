#include "desktop/NumberReader.h"
#include "desktop/TextTokens.h"
#include "support/DataRows.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using namespace desktop;

class TestTextHelpers : public QObject
{
    Q_OBJECT

private slots:
    void nextToken_data()
    {
        columns<QString, int, QString, QString, int>({"text", "position", "separator", "token", "nextPosition"});
        // clang-format off
        QTest::newRow("last token has no separator") << "a;bc;d" << 6 << ";" << "d" << -1;
        QTest::newRow("empty token between separators") << "a;;b" << 3 << ";" << "" << 4;
        QTest::newRow("zero counts as one") << "a;b" << 0 << ";" << "a" << 3;
        QTest::newRow("negative stays negative") << "a;b" << -1 << ";" << "" << -1;
        QTest::newRow("position past the end") << "ab" << 5 << ";" << "" << -1;
        QTest::newRow("multi-character separator") << "Macro 00: Name; x" << 1 << ": " << "Macro 00" << 11;
        QTest::newRow("separator is case-sensitive") << "aXbxc" << 1 << "x" << "aXb" << 5;
        QTest::newRow("empty separator never matches") << "abc" << 2 << "" << "bc" << -1;
        // clang-format on
    }

    void nextToken()
    {
        const auto [text, position, separator] = fetch<QString, int, QString>({"text", "position", "separator"});
        qint32 pos = position;
        QTEST(NextToken(text, pos, separator), "token");
        QTEST(int(pos), "nextPosition");
    }

    // A control character in a name would end a set-up file's line early and
    // write the rest as lines of their own (a port, the start of the macros),
    // or reach a terminal as an escape; a bidirectional control or a line or
    // paragraph separator would reorder or break what a reader sees. Blanks
    // at the ends go too (a file reads them back without), also those a
    // dropped character left; a tab and everything else stay.
    void storedName_data()
    {
        columns<QString, QString>({"given", "kept"});
        // clang-format off
        QTest::newRow("CR, LF") << "X\rCom Port: 4\nY\r\nBegin Macros" << "XCom Port: 4YBegin Macros";
        QTest::newRow("NUL") << QString::fromUtf16(u"a\0b", 3) << "ab";
        QTest::newRow("ESC") << "\x1b[31mred" << "[31mred";
        QTest::newRow("DEL, C1") << QStringLiteral("del\x7f nel\u0085 csi\u009b") << "del nel csi";
        QTest::newRow("bidi embeddings, overrides, isolates") << QStringLiteral("\u202aa\u202bb\u202c\u202dc\u202ed\u2066e\u2067f\u2068\u2069") << "abcdef";
        QTest::newRow("line and paragraph separators") << QStringLiteral("one\u2028two\u2029") << "onetwo";
        QTest::newRow("neighbours of the bidi controls stay") << QStringLiteral("\u2027\u202f\u2065\u206a") << QStringLiteral("\u2027\u202f\u2065\u206a");
        QTest::newRow("blanks at the ends, also behind a control") << " \u202e lead\x07 mid  trail \u2029 " << "lead mid  trail";
        QTest::newRow("all blanks") << "   " << "";
        QTest::newRow("tab, quote, backslash, UTF-8, markup") << "\ta\tb \"q\" \\b Caméra & <b>1</b>\t" << "\ta\tb \"q\" \\b Caméra & <b>1</b>\t";
        // clang-format on
    }

    void storedName()
    {
        QFETCH(QString, given);
        QTEST(desktop::storedName(given), "kept");
    }

    void leadingNumber_data()
    {
        columns<QString, double>({"text", "value"});

        QTest::newRow("leading blanks, leading point") << "   .5" << 0.5;
        QTest::newRow("exponent") << "1.5e2" << 150.0;
        QTest::newRow("negative exponent") << "25E-1" << 2.5;
        QTest::newRow("exponent without digits stops before e") << "4e" << 4.0;
        QTest::newRow("exponent sign without digits") << "4e+x" << 4.0;
        QTest::newRow("stops at a second point") << "1.2.3" << 1.2;
        QTest::newRow("blank inside stops") << "1 2" << 1.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("lone sign") << "-" << 0.0;
        // Beyond a double's range by the digits alone, not by the exponent.
        QTest::newRow("long decimal underflows to 0") << "0." + QString(400, u'0') + "1" << 0.0;
        QTest::newRow("huge despite e-") << "1" + QString(400, u'0') + "e-10" << HUGE_VAL;
        QTest::newRow("negative huge") << "-1" + QString(400, u'0') << -HUGE_VAL;
    }

    void leadingNumber()
    {
        QFETCH(QString, text);
        QTEST(desktop::leadingNumber(text), "value");
    }

    void readInteger_data()
    {
        columns<QString, int, bool>({"text", "value", "overflows"});

        QTest::newRow("half rounds to even below") << "2.5" << 2 << false;
        QTest::newRow("half rounds to even above") << "3.5" << 4 << false;
        QTest::newRow("rounds into range") << "32767.4" << 32767 << false;
        QTest::newRow("rounds out of range") << "32767.5" << 0 << true;
        QTest::newRow("one past the bottom") << "-32769" << 0 << true;
        QTest::newRow("beyond a double") << "1e999" << 0 << true;
    }

    // An overflow is the fault "Overflow" (its text checked in the load's boxes).
    void readInteger()
    {
        const auto [text, value, overflows] = fetch<QString, int, bool>({"text", "value", "overflows"});
        if (overflows)
            QVERIFY_THROWS_EXCEPTION(Fault, (void)desktop::readInteger(text));
        else
            QCOMPARE(int(desktop::readInteger(text)), value);
    }

    // The program's own faults are trapped into their "Function X" box in
    // every suite that provokes one; a standard exception must end the same
    // way, not escape into the event loop.
    void standardExceptionsAreTrappedToo()
    {
        ScriptedDialogs boxes;
        QVERIFY(!runTrapped(QStringLiteral("Form_Load"), [] { throw std::runtime_error("broken"); }));
        QCOMPARE(boxes.lines(), QStringList{"Function Form_Load: Error: broken"});
    }
};

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "tst_texthelpers.moc"
