#include "config/Configuration.h"
#include "panel/MatrixDisplay.h"
#include "support/ScriptedDialogs.h"
#include "support/TestRouters.h"

#include <QTest>

namespace {

// One router of 32 inputs and 16 outputs at matrix 0, viewed from the top.
struct Rig
{
    desktop::ScriptedDialogs dialogs;
    Configuration config;
    MatrixTables tables;
    MatrixView view{tables, config.Routers};
    QList<int> changedCells;
    MatrixDisplay display{view, [this](int cell, MatrixDisplay::Mark) { changedCells.append(cell); }};
    clsRouter &router = addRouter(config, 0, 31, 15);

    Rig() { sizeMatrix(tables, config.Routers); }

    // The marked cells of column c as "row:mark", mark 1 video, 2 audio, 3 both.
    [[nodiscard]] QString column(int c) const
    {
        QStringList marked;
        for (int r = 0; r < MatrixDisplay::Rows; ++r) {
            if (const auto mark = display.mark(r * MatrixDisplay::Columns + c); mark != MatrixDisplay::Mark::Empty)
                marked.append(QStringLiteral("%1:%2").arg(r).arg(int(mark)));
        }
        return marked.join(u' ');
    }
};

} // namespace

class TestMatrixDisplay : public QObject
{
    Q_OBJECT

private slots:
    // The markers follow the levels of the output a column shows and clear
    // without one; a fault in a redraw is reported and ends it.
    void redrawingAColumn()
    {
        Rig rig;
        rig.router.RouteState(4).setVideo(2);
        rig.router.RouteState(4).setAudio(2);
        rig.display.redrawColumn(4);
        QCOMPARE(rig.column(4), QStringLiteral("2:3"));

        rig.router.RouteState(4).setVideo(6);
        rig.changedCells.clear();
        rig.display.redrawColumn(4);
        QCOMPARE(rig.column(4), QStringLiteral("2:2 6:1"));
        // Two cleared and two set: nothing else in the column is touched.
        QCOMPARE(rig.changedCells, (QList<int>{2 * 16 + 4, 6 * 16 + 4, 2 * 16 + 4}));

        rig.view.OutOffset = 12; // column 4 now shows matrix output 16, which nobody owns
        rig.display.redrawColumn(4);
        QCOMPARE(rig.column(4), QString());

        rig.changedCells.clear();
        rig.display.UpdateMatrixDisplayCol(&rig.router, 16, 0);
        QCOMPARE(rig.dialogs.lines(), QStringList{"Function UpdateMatrixDisplayCol: Error: Subscript out of range"});
        QVERIFY(rig.changedCells.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMatrixDisplay)
#include "tst_matrixdisplay.moc"
