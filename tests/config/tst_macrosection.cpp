#include "support/ConfigTestSupport.h"
#include "support/DataRows.h"

#include <optional>

namespace {

// Every slot as the rows describe it: "name|f,o,i,l;f,o,i,l" for a slot
// holding a list, "-" for one holding none (its name after it, unless that
// is "< unassigned >").
QStringList describe(const MacroBank &macros)
{
    QStringList described;
    for (int slot = 0; slot < MacroBank::SlotCount; ++slot) {
        const QString &name = macros.MacroNames[slot];
        if (!macros.Macros[slot]) {
            described << QStringLiteral("-") + (name == MacroBank::UnassignedName ? QString() : name);
            continue;
        }
        QStringList routes;
        for (const RouteRecord &r : *macros.Macros[slot])
            routes << QStringLiteral("%1,%2,%3,%4").arg(r.frameAddress()).arg(r.output()).arg(r.input()).arg(r.level());
        described << name + u'|' + routes.join(u';');
    }
    return described;
}

// A section from its begin line to its end line.
QByteArray section(const QByteArray &lines)
{
    return "Begin Macros\r\n" + lines + "End Macros\r\n";
}

} // namespace

class TestMacroSection : public QObject
{
    Q_OBJECT

    std::optional<ConfigFixture> m_f;

private slots:
    void init() { m_f.emplace(); }

    // Each row: the lines of a section (begin line included), the slots that
    // hold a list afterwards ("slot=name|routes", space separated), every
    // other slot holding none and named "< unassigned >", and the
    // rejected-line list.
    void sectionLines_data()
    {
        columns<QByteArray, QString, QString>({"section", "filled", "list"});
        // clang-format off
        QTest::newRow("empty section empties the bank") << section("") << "" << "";
        QTest::newRow("begin line in other case, colon after it") << QByteArray("BEGIN MACROS: whatever\r\n  Macro 01: a; \r\nEnd Macros\r\n") << "1=a|" << "";
        QTest::newRow("begin line with a trailing blank is no section") << QByteArray("Begin Macros \r\n  Macro 01: x; {0,1}={1,1};\r\nEnd Macros\r\n") << "3=Kept|9,0,1,3" << "";
        QTest::newRow("slots 12 and -1") << section("  Macro 12: x; {0,1}={1,1};\r\n  Macro -1: x\r\n") << "" << "Invalid MacroID--Line 2\r\nInvalid MacroID--Line 3\r\n";
        QTest::newRow("last two characters") << section("  Macro 5: one\r\n  Macro 105: two\r\n  Macro 06: three\r\n") << "5=two| 6=three|" << "";
        QTest::newRow("blank line and lines without a colon") << section("\r\nsomething\r\nline 04\r\n") << "0=| 4=|" << "";
        QTest::newRow("end line in other case or with a blank does not end it") << QByteArray("Begin Macros\r\n  Macro 03: c; \r\nend macros\r\nEnd Macros \r\n") << "0=| 3=c|" << "";
        // Neither the port line nor the router line is seen as such.
        QTest::newRow("lines after a false end are macro lines") << QByteArray("Begin Macros\r\nEnd Macros \r\nCom Port: 4\r\nRouter: 0; 16\r\n") << "0=0|" << "Invalid Macro Level--Line 4\r\n";
        // A refused frame address is checked before the output (999, an overflow) is read.
        QTest::newRow("refused items, the rest read")
            << section("  Macro 01: x; {16, 999} = {1, 1}; {0, 200} = {1, 1}; {0, 1} = {130, 1}; {0, 1} = {1, 4}; {0, 1} = {1, 0}; {15, 127} = {127, 2};\r\n") << "1=x|15,127,127,2"
            << "Invalid Macro Frame Address--Line 2\r\nInvalid Macro OutputID--Line 2\r\nInvalid Macro InputID--Line 2\r\nInvalid Macro Level--Line 2\r\nInvalid Macro Level--Line 2\r\n";
        QTest::newRow("numbers rounded half to even, empty item ends the line") << section("  Macro 01: x; {2.5, 3.5} = {0.4, 1.6}; ; {0,2}={2,2};\r\n") << "1=x|2,4,0,2" << "";
        QTest::newRow("second line for a slot replaces the first") << section("  Macro 02: y; {0,1}={1,1};\r\n  Macro 02: z; {0,3}={3,3};\r\n") << "2=z|0,3,3,3" << "";
        QTest::newRow("section running to the end of the file") << QByteArray("Begin Macros\r\n  Macro 04: open; {1,2}={3,1};") << "4=open|1,2,3,1" << "";
        // clang-format on
    }

    void sectionLines()
    {
        const auto [section, filled, list] = fetch<QByteArray, QString, QString>({"section", "filled", "list"});
        m_f->load(Header + section);
        QVERIFY(m_f->config.ConfigLoaded);
        QCOMPARE(m_f->config.CommPortName, QStringLiteral("COM2"));
        QVERIFY(m_f->boxes.shown.isEmpty());
        QStringList expected(MacroBank::SlotCount, QStringLiteral("-"));
        for (const QString &slot : filled.split(u' ', Qt::SkipEmptyParts)) {
            const qsizetype equals = slot.indexOf(u'=');
            expected[slot.left(equals).toInt()] = slot.mid(equals + 1);
        }
        QCOMPARE(describe(m_f->macros), expected);
        QCOMPARE(m_f->shell.shownTexts.join(QString()), list);
    }
};

QTEST_GUILESS_MAIN(TestMacroSection)
#include "tst_macrosection.moc"
