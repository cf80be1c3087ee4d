#include "model/MatrixView.h"
#include "panel/PortNames.h"
#include "support/DataRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestRouters.h"

#include <QTest>

namespace {

enum class Field { In, Out };

// Router 0: inputs 0 to 15 on matrix inputs 0 to 15, outputs on matrix
// outputs 0 to 15. Router 1: inputs 0 to 7 on the same matrix inputs,
// outputs on matrix outputs 16 to 31. Router 0's first inputs carry names a
// file could hold, duplicates included; its
// first output is "Monitor".
struct NamesRig
{
    desktop::ScriptedDialogs boxes;
    Configuration config;
    MatrixTables tables;
    MatrixView view{tables, config.Routers};
    PortNames names{view};

    NamesRig()
    {
        clsRouter &first = addRouter(config, 0);
        addRouter(config, 1, 7, 15).setMapOut(16);
        const QStringList inputNames{"VTR", "Cam", "Cam 2", "!Cam", "In 05", "", "In 07", "Dup", "Dup"};
        for (int p = 0; p < inputNames.size(); ++p)
            first.setRouterInName(p, inputNames[p]);
        first.setRouterOutName(0, QStringLiteral("Monitor"));
        sizeMatrix(tables, config.Routers);
    }

    [[nodiscard]] QStringList lines() const { return {config.Routers[0]->StringVal(), config.Routers[1]->StringVal()}; }
};

} // namespace

class TestPortNames : public QObject
{
    Q_OBJECT

private slots:
    void commit_data()
    {
        // frameAddress -1: nothing stored anywhere.
        columns<Field, int, int, QString, QString, int, int, QString>(
            {"field", "offset", "position", "typed", "shown", "frameAddress", "port", "box"});
        const Field In = Field::In, Out = Field::Out;
        // clang-format off
        QTest::newRow("a taken name gets a ! as often as needed") << In << 0 << 2 << "Cam" << "!!Cam" << 0 << 2 << "";
        QTest::newRow("a lower port holds it already") << In << 0 << 8 << "Dup" << "!Dup" << 0 << 8 << "";
        QTest::newRow("the lowest holder keeps it") << In << 0 << 7 << "Dup" << "Dup" << 0 << 7 << "";
        QTest::newRow("letter case makes it another name") << In << 0 << 4 << "cam" << "cam" << 0 << 4 << "";
        QTest::newRow("empty is not checked") << In << 0 << 6 << "" << "" << 0 << 6 << "";
        QTest::newRow("blanks trimmed before the check") << In << 0 << 5 << "  VTR " << "!VTR" << 0 << 5 << "";
        QTest::newRow("control characters dropped before the check") << In << 0 << 4 << "Cam\a" << "!!Cam" << 0 << 4 << "";
        QTest::newRow("all blanks is empty") << In << 0 << 4 << "   " << "" << 0 << 4 << "";
        QTest::newRow("scrolled shared row: lowest router") << In << 4 << 3 << "Desk" << "Desk" << 0 << 7 << "";
        QTest::newRow("unserved row") << In << 8 << 9 << "Cam" << "-" << -1 << 0 << "";
        QTest::newRow("scrolled, second router, unchanged") << Out << 10 << 8 << "Out 03" << "Out 03" << 1 << 2 << "";
        QTest::newRow("a name another router has") << Out << 16 << 0 << "Monitor" << "Monitor" << 1 << 0 << "";
        QTest::newRow("a taken output name") << Out << 0 << 5 << "Out 02" << "!Out 02" << 0 << 5 << "";
        QTest::newRow("unserved column") << Out << 30 << 2 << "Spare" << "-" << -1 << 0 << "";
        QTest::newRow("semicolon in an input name") << In << 0 << 1 << "A;B" << "Cam" << -1 << 0 << "Data Error: Invalid input name: cannot have semicolons (;)";
        QTest::newRow("position beyond the window") << In << 0 << 16 << "Cam" << "-" << -1 << 0 << "Function txtIn_LostFocus: Error: Subscript out of range";
        // clang-format on
    }

    // The name is stored on the one port behind the field and nowhere else;
    // the field and the caption then show what the router kept.
    void commit()
    {
        const auto [field, offset, position, typed, shown, frameAddress, port] =
            fetch<Field, int, int, QString, QString, int, int>(
                {"field", "offset", "position", "typed", "shown", "frameAddress", "port"});
        NamesRig rig;
        (field == Field::In ? rig.view.InOffset : rig.view.OutOffset) = offset;
        const QString kept = field == Field::In ? rig.names.txtIn_LostFocus(position, typed)
                                                : rig.names.txtOut_LostFocus(position, typed);
        QCOMPARE(kept, shown);
        QTEST(rig.boxes.lines().join(u'|'), "box");
        QCOMPARE(field == Field::In ? rig.names.inputName(position) : rig.names.outputName(position), shown);
        NamesRig expected;
        if (frameAddress >= 0) {
            clsRouter &router = *expected.config.Routers[std::size_t(frameAddress)];
            field == Field::In ? router.setRouterInName(port, shown) : router.setRouterOutName(port, shown);
        }
        QCOMPARE(rig.lines(), expected.lines());
    }
};

QTEST_GUILESS_MAIN(TestPortNames)
#include "tst_portnames.moc"
