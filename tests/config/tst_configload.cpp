#include "support/ConfigTestSupport.h"
#include "support/DataRows.h"

#include <QBuffer>
#include <optional>

namespace {

// Hands out its bytes, then fails like a broken disk.
class FailingDevice final : public QBuffer
{
public:
    explicit FailingDevice(const QByteArray &start)
    {
        setData(start);
        open(QIODevice::ReadOnly);
        setErrorString(QStringLiteral("Input/output error"));
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = QBuffer::readData(data, maxSize);
        return n > 0 ? n : -1;
    }
};

// Everything a load may change, the router records by address too: a failed
// load must not swap them for copies under the window's feet.
QString state(const ConfigFixture &f)
{
    QString text = QString::fromUtf8(configText(f.config, f.macros)) + f.config.ConfigFilePath;
    text += f.config.ConfigLoaded ? QStringLiteral(" loaded") : QString();
    for (const auto &router : f.config.Routers)
        text += QStringLiteral(" @") + QString::number(quintptr(router.get()), 16);
    for (const QString &name : f.macros.MacroNames)
        text += QStringLiteral(" ; ") + name;
    return text;
}

// The bank as the rows describe it, space separated: "slot=name|f,o,i,l;f,o,i,l"
// for a slot holding a list, "slot=-name" for one holding none but named
// other than "< unassigned >"; every other slot is left out.
QString describe(const MacroBank &macros)
{
    QStringList described;
    for (int slot = 0; slot < MacroBank::SlotCount; ++slot) {
        const QString prefix = QString::number(slot) + u'=';
        const QString &name = macros.MacroNames[slot];
        QStringList routes;
        for (const RouteRecord &r : macros.Macros[slot].value_or(QList<RouteRecord>()))
            routes << QStringLiteral("%1,%2,%3,%4").arg(r.frameAddress()).arg(r.output()).arg(r.input()).arg(r.level());
        if (macros.Macros[slot])
            described << prefix + name + u'|' + routes.join(u';');
        else if (name != MacroBank::UnassignedName)
            described << prefix + u'-' + name;
    }
    return described.join(u' ');
}

// A section from its begin line to its end line.
QByteArray section(const QByteArray &lines)
{
    return "Begin Macros\r\n" + lines + "End Macros\r\n";
}

} // namespace

class TestConfigLoad : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appData;
    std::optional<ConfigFixture> m_f;

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", m_appData.path().toUtf8());
        // The timeout's separator is "." whatever the operator's locale.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    void init() { m_f.emplace(); }

    // A wrong header (the header's letter case: the service's file that
    // does not load), and whatever goes wrong after the header, leave
    // everything in memory as it was, so the exit save cannot write a
    // half-loaded set-up.
    void failedLoadChangesNothing_data()
    {
        columns<QByteArray, QString>({"bytes", "box"});

        QTest::newRow("older version")
            << QByteArray("VL ConfigFile 1.1\r\nCom Port: 1\r\n")
            << QStringLiteral("Velmora: This is not a valid configuration file for this version of the program");

        const QString failed = QStringLiteral("Function ConfigLoad: Error: ");
        const QByteArray start = Header + "Com Port: 4\r\nRouter Timeout: 1\r\n"
                                          "Router: 0; 0; 1; 1; 0; 0; 0;a; b; c; d; \r\n"
                                          "Begin Macros\r\n  Macro 01: New; {0, 1} = {1, 1}; \r\nEnd Macros\r\n";
        const QByteArray macro = start + "Begin Macros\r\n  Macro 02: x; ";
        QTest::newRow("empty file") << QByteArray() << failed + "Input past end of file";
        QTest::newRow("timeout with a comma") << start + "Router Timeout: 1,5\r\n" << failed + "Type mismatch";
        QTest::newRow("timeout not a float") << start + "Router Timeout: 1e39\r\n" << failed + "Overflow";
        QTest::newRow("any key past 32 bits") << start + "Comment: -3e10 seconds\r\n" << failed + "Overflow";
        QTest::newRow("macro output 256") << macro + "{0, 256} = {1, 1}; \r\n" << failed + "Overflow";
    }

    void failedLoadChangesNothing()
    {
        const auto [bytes, box] = fetch<QByteArray, QString>({"bytes", "box"});
        const QString before = state(*m_f);
        m_f->load(bytes);
        QCOMPARE(m_f->boxes.lines(), QStringList{box});
        QCOMPARE(state(*m_f), before);
        QVERIFY(m_f->shell.shownTexts.isEmpty());
    }

    void unreadableFileChangesNothing()
    {
        const QString before = state(*m_f);
        QString missing = m_f->dir.filePath(QStringLiteral("missing.rcf"));
        ConfigLoad(m_f->config, m_f->macros, missing, false);
        FailingDevice device(Header + "Com Port: 4\r\nBegin Macros\r\n  Macro 01: New; \r\n");
        configLoadFrom(device, QStringLiteral("broken.rcf"), m_f->config, m_f->macros);
        QCOMPARE(m_f->boxes.lines(), (QStringList{"Function ConfigLoad: Error: File not found",
                                                  "Function ConfigLoad: Error: Input/output error"}));
        QCOMPARE(state(*m_f), before);
    }

    // The port and the timeout lines alone (what such a load does to the
    // routers and the macro bank: routerLines, sectionLines). Key case,
    // blanks after the colon and a later line winning are in the hand-edited
    // round trip.
    void portAndTimeout_data()
    {
        columns<QByteArray, QString, float>({"lines", "port", "timeout"});
        QTest::newRow("header only: port kept, timeout 3") << QByteArray() << "COM2" << 3.0f;
        QTest::newRow("port half to even") << QByteArray("Com Port: 4\r\nCom Port: 2.5") << "COM2" << 3.0f;
        QTest::newRow("port 5, timeouts 60 and -1 ignored")
            << QByteArray("Com Port: 5\r\nRouter Timeout: 60\r\nRouter Timeout: -1") << "COM2" << 3.0f;
        QTest::newRow("timeout 0") << QByteArray("Router Timeout: 0") << "COM2" << 0.0f;
    }

    void portAndTimeout()
    {
        QFETCH(QByteArray, lines);
        m_f->load(Header + lines + "\r\n");
        QTEST(m_f->config.CommPortName, "port");
        QTEST(m_f->config.RouterTimeout, "timeout");
        QVERIFY(m_f->boxes.shown.isEmpty());
        QVERIFY(m_f->shell.shownTexts.isEmpty());
    }

    // A refused record, a 16-bit overflow included, is a rejected line and
    // the load goes on; a later line for the same address wins, names keep
    // their colons.
    void routerLines()
    {
        m_f->load(Header + "Router: 0; 2; 0; 0; 0; 0; 0;first; first; \r\n"
                           "Router: 1; 2; 0; 0; 0; 0; -1;Cam: 1; PGM: out; \r\n"
                           "Router: 0; 16; 0; 0; 0; 0; 0;x; y; \r\n"
                           "Router: 0; 1; 100000; 0; 0; 0; 0;\r\n"
                           "Router: 1; 0; 0; 0; 0; 0; 0;a; b; \r\nCom Port: 3\r\n");
        QCOMPARE(m_f->boxes.lines(),
                 (QStringList{"Data Error: Frame Address out of range", "Function StringVal: Error: Overflow"}));
        QCOMPARE(m_f->shell.shownTexts, QStringList{"Invalid Router--Line 3\r\nInvalid Router--Line 4\r\n"});
        QCOMPARE(m_f->config.CommPortName, QStringLiteral("COM3"));
        QVERIFY(m_f->config.Routers[0] && !m_f->config.Routers[1] && !m_f->config.Routers[9]);
        QCOMPARE(m_f->config.Routers[2]->StringVal(), QStringLiteral("1; 2; 0; 0; 0; 0; -1;Cam: 1; PGM: out; "));
    }

    // The error list counts lines from the line after the header, every
    // CR, LF and CR LF ending one, and the macro section's messages sit
    // among the others. The message counts lines as an editor does: a CR
    // alone ends one only in a file without LF. A stray CR before or after
    // a line's text harms nothing; one inside a router line keeps the names
    // before it, but never numbers it may have cut short.
    void lineEndsAndLineNumbers_data()
    {
        columns<QByteArray, QString, QString, QString>({"bytes", "routers", "list", "notRead"});
        // clang-format off
        QTest::newRow("CR LF, a leading blank makes an unknown key") << Header + " Com Port: 4\r\nRouter: 0; 16\r\n\r\nRouter: 0; 16" << ""
            << "Invalid Key--Line 1\r\nInvalid Router--Line 2\r\nInvalid Router--Line 4\r\n" << "test.rcf: lines 2, 3, 5 not read";
        QTest::newRow("lone CR") << QByteArray("VL ConfigFile 1.2\rCom Port: 2\rRouter: 0; 16\r") << "" << "Invalid Router--Line 2\r\n" << "test.rcf: line 3 not read";
        QTest::newRow("lone LF") << QByteArray("VL ConfigFile 1.2\nCom Port: 2\nRouter: 0; 16\n") << "" << "Invalid Router--Line 2\r\n" << "test.rcf: line 3 not read";
        QTest::newRow("CRs around the text") << Header + "Com Port: 2\n\rRouter: 0; 16\r\r\nCom Port: 3\r\n" << "" << "Invalid Router--Line 3\r\n" << "test.rcf: line 3 not read";
        QTest::newRow("stray CR in router lines")
            << Header + "Router: 0; 3; 0; 1; 0; 0; 0;In 1; Out\r 1; Out 2; \r\nRouter: 0; 4; 0\r; 0; 0; 0; 0;a; b; \r\n" << "0; 3; 0; 1; 0; 0; 0;In 1; Out; ; "
            << "Stray Carriage Return--Line 2\r\nInvalid Router--Line 3\r\nStray Carriage Return--Line 4\r\n" << "test.rcf: lines 2, 3 not read";
        QTest::newRow("macro section in file order")
            << Header + "Router: 0; 16\r\nBegin Macros\r\n  Macro 12: x\r\n  Macro 01: y; {16,0}={0,1};\r\n"
                        "End Macros\r\nRouter: 0; 16\r\n" << ""
            << "Invalid Router--Line 1\r\nInvalid MacroID--Line 3\r\nInvalid Macro Frame Address--Line 4\r\n"
               "Invalid Router--Line 6\r\n" << "test.rcf: lines 2, 4, 5, 7 not read";
        // clang-format on
    }

    void lineEndsAndLineNumbers()
    {
        const auto [bytes, routers, list, notRead] =
            fetch<QByteArray, QString, QString, QString>({"bytes", "routers", "list", "notRead"});
        m_f->load(bytes);
        QStringList stored;
        for (const auto &router : m_f->config.Routers)
            stored << (router ? router->StringVal() : QString());
        QCOMPARE(stored.join(QString()), routers);
        QCOMPARE(m_f->shell.shownTexts, QStringList{list});
        QCOMPARE(m_f->report.notReadMessage(QStringLiteral("test.rcf")), notRead);
    }

    // Lines longer than a read chunk (64 KiB), and a CR LF split between two
    // chunks, read like any other line.
    void linesAcrossChunks()
    {
        const QByteArray name(70000, 'n');
        QByteArray bytes = Header + "Router: 0; 0; 0; 0; 0; 0; 0;" + name + "; b; \r\nCom Port: ";
        const qsizetype secondChunkEnd = 2 * 65536 - 1;
        bytes += QByteArray(secondChunkEnd - bytes.size(), 'z') + "\r\nRouter: 0; 16\r\n";
        QCOMPARE(bytes[secondChunkEnd], '\r');
        m_f->load(bytes);
        QCOMPARE(m_f->config.Routers[0]->RouterInName(0), QString::fromLatin1(name));
        QCOMPARE(m_f->config.Routers[0]->RouterOutName(0), QStringLiteral("b"));
        QCOMPARE(m_f->shell.shownTexts, QStringList{"Invalid Router--Line 3\r\n"});
    }

    void rejectedLinesDisplayFailureStillCompletesTheLoad()
    {
        m_f->shell.failShowText = QStringLiteral("Cannot open display.txt for display");
        const QString name = m_f->load(Header + "Router: 0; 16\r\n");
        QCOMPARE(m_f->boxes.lines(), (QStringList{"Data Error: Frame Address out of range",
                                                  "Function ConfigLoad: Error: Cannot open display.txt for display"}));
        QVERIFY(m_f->config.ConfigLoaded);
        QCOMPARE(m_f->config.ConfigFilePath, name);
    }

    // Each row: the lines of a section (begin line included), the slots that
    // hold a list afterwards ("slot=name|routes", space separated), every
    // other slot holding none and named "< unassigned >", the rejected-line
    // list and the message naming the rejected lines as an editor counts them.
    void sectionLines_data()
    {
        columns<QByteArray, QString, QString, QString>({"section", "filled", "list", "notRead"});
        // clang-format off
        QTest::newRow("empty section empties the bank") << section("") << "" << "" << "";
        QTest::newRow("begin line in other case, colon after it") << QByteArray("BEGIN MACROS: whatever\r\n  Macro 01: a; \r\nEnd Macros\r\n") << "1=a|" << "" << "";
        QTest::newRow("begin line with a trailing blank: no section, its lines rejected") << QByteArray("Begin Macros \r\n  Macro 01: x; {0,1}={1,1};\r\nEnd Macros\r\n") << "3=Kept|9,0,1,3"
            << "Invalid Section Marker--Line 1\r\nInvalid Key--Line 2\r\nInvalid Section Marker--Line 3\r\n" << "test.rcf: lines 2-4 not read";
        QTest::newRow("slot 12") << section("  Macro 12: x; {0,1}={1,1};\r\n") << "" << "Invalid MacroID--Line 2\r\n" << "test.rcf: line 3 not read";
        QTest::newRow("slot -1") << section("  Macro -1: x\r\n") << "" << "Invalid MacroID--Line 2\r\n" << "test.rcf: line 3 not read";
        QTest::newRow("last two characters") << section("  Macro 5: one\r\n  Macro 105: two\r\n  Macro 06: three\r\n") << "5=two| 6=three|" << "" << "";
        QTest::newRow("blank line passed over, stray lines rejected, slot 0 untouched") << section("\r\nsomething\r\nline 04\r\nMacro x: y\r\n  Macro 05: kept\r\n") << "5=kept|"
            << "Invalid Macro Line--Line 3\r\nInvalid Macro Line--Line 4\r\nInvalid Macro Line--Line 5\r\n" << "test.rcf: lines 4-6 not read";
        // Neither the port line nor the router line is seen as such.
        QTest::newRow("end line in other case or with a blank: the rest rejected, section unclosed") << QByteArray("Begin Macros\r\n  Macro 03: c; \r\nend macros\r\nEnd Macros \r\nCom Port: 4\r\n") << "3=c|"
            << "Invalid Section Marker--Line 3\r\nInvalid Section Marker--Line 4\r\nInvalid Macro Line--Line 5\r\nUnclosed Macro Section--Line 1\r\n" << "test.rcf: lines 2, 4-6 not read";
        // A refused frame address is checked before the output (999, an overflow) is read.
        QTest::newRow("refused items, the rest read")
            << section("  Macro 01: x; {16, 999} = {1, 1}; {0,200}={1,1}; {0, 1} = {130, 1}; {0, 1} = {1, 4}; {0, 1} = {1, 0}; {15, 127} = {127, 2};\r\n") << "1=x|15,127,127,2"
            << "Invalid Macro Frame Address--Line 2\r\nInvalid Macro OutputID--Line 2\r\nInvalid Macro InputID--Line 2\r\nInvalid Macro Level--Line 2\r\nInvalid Macro Level--Line 2\r\n" << "test.rcf: line 3 not read";
        QTest::newRow("numbers rounded half to even") << section("  Macro 01: x; {2.5, 3.5} = {0.4, 1.6};\r\n") << "1=x|2,4,0,2" << "" << "";
        QTest::newRow("empty item ends the line") << section("  Macro 02: y; {0,1}={1,1}; ; {0,2}={2,2};\r\n") << "2=y|0,1,1,1" << "" << "";
        QTest::newRow("section running to the end of the file") << QByteArray("Begin Macros\r\n  Macro 04: open; {1,2}={3,1};") << "4=open|1,2,3,1" << "Unclosed Macro Section--Line 1\r\n" << "test.rcf: line 2 not read";
        QTest::newRow("second line for a slot replaces the first") << section("  Macro 02: y; {0,1}={1,1};\r\n  Macro 02: z; {0,3}={3,3};\r\n") << "2=z|0,3,3,3" << "" << "";
        // The name up to a stray CR is kept; an item it cut short is not guessed.
        QTest::newRow("stray CR in macro lines") << section("  Macro 01: Show\rOpen; {0, 1} = {2, 1}; \r\n  Macro 02: b; {0, 1} = {2, 1}; {0, 2} = {3, 1\r}; \r\n") << "1=Show| 2=b|0,1,2,1"
            << "Stray Carriage Return--Line 3\r\nStray Carriage Return--Line 5\r\n" << "test.rcf: lines 3, 4 not read";
        // clang-format on
    }

    void sectionLines()
    {
        const auto [section, filled, list, notRead] =
            fetch<QByteArray, QString, QString, QString>({"section", "filled", "list", "notRead"});
        m_f->load(Header + section);
        QVERIFY(m_f->config.ConfigLoaded);
        QCOMPARE(m_f->config.CommPortName, QStringLiteral("COM2"));
        QVERIFY(m_f->boxes.shown.isEmpty());
        QCOMPARE(describe(m_f->macros), filled);
        QCOMPARE(m_f->shell.shownTexts.join(QString()), list);
        QCOMPARE(m_f->report.notReadMessage(QStringLiteral("test.rcf")), notRead);
    }

    // The open dialog starts in the application folder; a cancelled one
    // changes nothing. The macros-only command loads the whole file too.
    void openDialog()
    {
        const QString before = state(*m_f);
        QString name;
        ConfigLoad(m_f->config, m_f->macros, name, true);
        QVERIFY(name.isEmpty());
        QCOMPARE(state(*m_f), before);

        const QString file = writeTestFile(m_f->dir, Header + "Com Port: 4\r\n");
        m_f->shell.openAnswers.enqueue(file);
        ConfigLoad(m_f->config, m_f->macros, name, true);
        QCOMPARE(name, file);
        QCOMPARE(m_f->config.CommPortName, QStringLiteral("COM4"));
        QCOMPARE(m_f->shell.openStartFolders, QStringList(2, m_appData.path() + QStringLiteral("/Velmora/1.1/")));
        QVERIFY(m_f->boxes.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestConfigLoad)
#include "tst_configload.moc"
