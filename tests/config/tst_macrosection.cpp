#include "ConfigTestSupport.h"
#include "desktop/ScriptedDialogs.h"
#include "desktop/ScriptedShell.h"

#include <QBuffer>

using desktop::ScriptedDialogs;
using desktop::ScriptedShell;

namespace {

const QByteArray Header = "VL ConfigFile 1.2\r\n";

using Routes = QList<RouteRecord>;

// One slot as the tests describe it: "name|f,o,i,l;f,o,i,l", "-" for a slot
// without a route list.
QString describe(const MacroBank &macros, int slot)
{
    if (!macros.Macros[slot])
        return QStringLiteral("-");
    QStringList routes;
    for (const RouteRecord &route : *macros.Macros[slot])
        routes << QStringLiteral("%1,%2,%3,%4")
                      .arg(route.frameAddress())
                      .arg(route.output())
                      .arg(route.input())
                      .arg(route.level());
    return macros.MacroNames[slot] + u'|' + routes.join(u';');
}

QStringList describeAll(const MacroBank &macros)
{
    QStringList described;
    for (int slot = 0; slot < MacroBank::SlotCount; ++slot)
        described << describe(macros, slot);
    return described;
}

} // namespace

class TestMacroSection : public QObject
{
    Q_OBJECT

    Configuration m_config;
    MacroBank m_macros;
    ScriptedShell *m_shell = nullptr;

    void load(const QByteArray &fileBody)
    {
        QByteArray bytes = Header + fileBody;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        ConfigLoadFrom(buffer, QStringLiteral("macros.rcf"), m_config, m_macros);
    }

private slots:
    void init()
    {
        m_config = Configuration();
        m_macros = MacroBank();
        prepareSetup(m_config, m_macros);
    }

    // Each row: the lines of a section (begin line included), the slots that
    // hold a list afterwards ("slot=name|routes"), every other slot being
    // empty, and the rejected-line list.
    void sectionLines_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QStringList>("filled");
        QTest::addColumn<QString>("list");

        QTest::newRow("as written")
            << QByteArray("Begin Macros\r\n  Macro 00: Studio A; {0, 3} = {5, 3}; {0, 4} = {5, 1}; \r\n"
                          "  Macro 07: Off Air; \r\nEnd Macros\r\n")
            << QStringList{"0=Studio A|0,3,5,3;0,4,5,1", "7=Off Air|"} << "";
        QTest::newRow("empty section empties the bank")
            << QByteArray("Begin Macros\r\nEnd Macros\r\n") << QStringList{} << "";
        QTest::newRow("begin line in other case, colon after it")
            << QByteArray("BEGIN MACROS: whatever\r\n  Macro 01: a; \r\nEnd Macros\r\n") << QStringList{"1=a|"} << "";
        QTest::newRow("slot 12") << QByteArray("Begin Macros\r\n  Macro 12: x; {0,1}={1,1};\r\nEnd Macros\r\n")
                                 << QStringList{} << "Invalid MacroID--Line 2\r\n";
        QTest::newRow("slot -1") << QByteArray("Begin Macros\r\n  Macro -1: x\r\nEnd Macros\r\n") << QStringList{}
                                 << "Invalid MacroID--Line 2\r\n";
        QTest::newRow("last two characters")
            << QByteArray("Begin Macros\r\n  Macro 5: one\r\n  Macro 105: two\r\n  Macro 06: three\r\nEnd Macros\r\n")
            << QStringList{"5=two|", "6=three|"} << "";
        QTest::newRow("blank line is slot 0")
            << QByteArray("Begin Macros\r\n\r\nEnd Macros\r\n") << QStringList{"0=|"} << "";
        QTest::newRow("no colon") << QByteArray("Begin Macros\r\nsomething\r\nline 04\r\nEnd Macros\r\n")
                                  << QStringList{"0=|", "4=|"} << "";
        QTest::newRow("end line in other case or with a blank does not end it")
            << QByteArray("Begin Macros\r\n  Macro 03: c; \r\nend macros\r\nEnd Macros \r\n")
            << QStringList{"0=|", "3=c|"} << "";
        QTest::newRow("refused items, the rest read")
            << QByteArray("Begin Macros\r\n  Macro 01: x; {16, 1} = {1, 1}; {0, 200} = {1, 1}; {0, 1} = {130, 1}; "
                          "{0, 1} = {1, 4}; {0, 1} = {1, 0}; {15, 127} = {127, 2};\r\nEnd Macros\r\n")
            << QStringList{"1=x|15,127,127,2"}
            << "Invalid Macro Frame Address--Line 2\r\nInvalid Macro OutputID--Line 2\r\n"
               "Invalid Macro InputID--Line 2\r\nInvalid Macro Level--Line 2\r\nInvalid Macro Level--Line 2\r\n";
        QTest::newRow("a refused frame address is checked before the output is read")
            << QByteArray("Begin Macros\r\n  Macro 01: x; {16, 999} = {1, 1};\r\nEnd Macros\r\n") << QStringList{"1=x|"}
            << "Invalid Macro Frame Address--Line 2\r\n";
        QTest::newRow("numbers rounded half to even")
            << QByteArray("Begin Macros\r\n  Macro 01: x; {2.5, 3.5} = {0.4, 1.6};\r\nEnd Macros\r\n")
            << QStringList{"1=x|2,4,0,2"} << "";
        QTest::newRow("empty item ends the line")
            << QByteArray("Begin Macros\r\n  Macro 02: y; {0,1}={1,1}; ; {0,2}={2,2};\r\nEnd Macros\r\n")
            << QStringList{"2=y|0,1,1,1"} << "";
        QTest::newRow("second line for a slot replaces the first")
            << QByteArray(
                   "Begin Macros\r\n  Macro 02: y; {0,1}={1,1};\r\n  Macro 02: z; {0,3}={3,3};\r\nEnd Macros\r\n")
            << QStringList{"2=z|0,3,3,3"} << "";
        QTest::newRow("names keep colons, lose outer blanks")
            << QByteArray("Begin Macros\r\n  Macro 09:   Night: all  ;\r\nEnd Macros\r\n")
            << QStringList{"9=Night: all|"} << "";
        QTest::newRow("section running to the end of the file")
            << QByteArray("Begin Macros\r\n  Macro 04: open; {1,2}={3,1};") << QStringList{"4=open|1,2,3,1"} << "";
    }

    void sectionLines()
    {
        QFETCH(QByteArray, section);
        QFETCH(QStringList, filled);
        QFETCH(QString, list);
        ScriptedDialogs boxes;
        ScriptedShell shell;
        load(section);
        QVERIFY(m_config.ConfigLoaded);
        QVERIFY(boxes.shown.isEmpty());
        QStringList expected(MacroBank::SlotCount, QStringLiteral("-"));
        for (const QString &slot : filled) {
            const qsizetype equals = slot.indexOf(u'=');
            expected[slot.left(equals).toInt()] = slot.mid(equals + 1);
        }
        QCOMPARE(describeAll(m_macros), expected);
        // Every slot without a list reads "< unassigned >".
        for (int slot = 0; slot < MacroBank::SlotCount; ++slot) {
            if (!m_macros.Macros[slot])
                QCOMPARE(m_macros.MacroNames[slot], MacroBank::UnassignedName);
        }
        QCOMPARE(shell.shownTexts.join(QString()), list);
    }

    // Everything after an end line that does not end the section is read as
    // macro lines: neither the port nor the router line is seen.
    void linesAfterAFalseEndAreMacroLines()
    {
        ScriptedDialogs boxes;
        ScriptedShell shell;
        load("Begin Macros\r\nEnd Macros \r\nCom Port: 4\r\nRouter: 0; 16\r\n");
        QCOMPARE(m_config.CommPortName, QStringLiteral("COM2"));
        QVERIFY(boxes.shown.isEmpty());
        QCOMPARE(describe(m_macros, 0), QStringLiteral("0|"));
        QCOMPARE(shell.shownTexts, QStringList{"Invalid Macro Level--Line 4\r\n"});
    }

    // A begin line with a trailing blank is not a begin line: the section's
    // lines are ignored and the bank stays as it was.
    void beginLineWithTrailingBlank()
    {
        ScriptedDialogs boxes;
        load("Begin Macros \r\n  Macro 01: x; {0,1}={1,1};\r\nEnd Macros\r\n");
        QVERIFY(m_config.ConfigLoaded);
        QCOMPARE(describeAll(m_macros)[3], QStringLiteral("Kept|9,0,1,3"));
        QVERIFY(!m_macros.Macros[1]);
    }

    void writer_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty bank") << QStringList{"Begin Macros", "End Macros"};
        QTest::newRow("two macros") << QStringList{"Begin Macros",
                                                   "  Macro 00: Studio A; {0, 3} = {5, 3}; {0, 4} = {5, 1}; ",
                                                   "  Macro 07: Off Air; ", "End Macros"};
    }

    void writer()
    {
        QFETCH(QStringList, lines);
        MacroBank macros;
        if (lines.size() > 2) {
            macros.MacroNames[0] = QStringLiteral("Studio A");
            macros.Macros[0] = Routes{RouteRecord::pack(0, 3, 5, 3), RouteRecord::pack(0, 4, 5, 1)};
            macros.MacroNames[7] = QStringLiteral("Off Air");
            macros.Macros[7] = Routes{};
        }
        // A renamed slot without a route list is not written.
        macros.MacroNames[5] = QStringLiteral("Renamed only");
        QString text;
        writeMacroSection(text, macros);
        QCOMPARE(text.toUtf8(), crlfLines(lines));
    }
};

QTEST_GUILESS_MAIN(TestMacroSection)
#include "tst_macrosection.moc"
