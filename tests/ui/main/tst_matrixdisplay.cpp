#include "config/Configuration.h"
#include "link/TestRouters.h"
#include "support/ScriptedDialogs.h"
#include "ui/main/MatrixDisplay.h"

#include <QTest>

using Mark = MatrixDisplay::Mark;

namespace {

// One router of 32 inputs and 16 outputs at matrix 0, viewed from the top.
struct Rig
{
    desktop::ScriptedDialogs dialogs;
    Configuration config;
    MatrixTables tables;
    MatrixView view{tables, config.Routers};
    QList<int> changedCells;
    MatrixDisplay display{view, [this](int cell, Mark) { changedCells.append(cell); }};

    clsRouter &router()
    {
        if (!config.Routers[0]) {
            addRouter(config, 0, 31, 15).canSplit = true;
            SizeMatrix(tables, config.Routers);
        }
        return *config.Routers[0];
    }

    void route(int phyOut, int video, int audio)
    {
        clsRouteState &state = router().RouteState(phyOut);
        state.setVideo(video);
        state.setAudio(audio);
    }

    [[nodiscard]] QList<Mark> column(int c) const
    {
        QList<Mark> marks;
        for (int r = 0; r < MatrixDisplay::Rows; ++r)
            marks.append(display.mark(r * MatrixDisplay::Columns + c));
        return marks;
    }
};

QList<Mark> columnWith(std::initializer_list<std::pair<int, Mark>> lit)
{
    QList<Mark> marks(MatrixDisplay::Rows, Mark::Empty);
    for (const auto &[row, mark] : lit)
        marks[row] = mark;
    return marks;
}

} // namespace

class TestMatrixDisplay : public QObject
{
    Q_OBJECT

private slots:
    void markersFollowTheLevelsOfAnOutput()
    {
        Rig rig;
        rig.route(4, 2, 2);
        rig.display.redrawColumn(4);
        QCOMPARE(rig.column(4), columnWith({{2, Mark::AllLevels}}));

        rig.router().RouteState(4).setVideo(6);
        rig.changedCells.clear();
        rig.display.redrawColumn(4);
        QCOMPARE(rig.column(4), columnWith({{6, Mark::VideoOnly}, {2, Mark::AudioOnly}}));
        // Two cleared and two set: nothing else in the column is touched.
        QCOMPARE(rig.changedCells, (QList<int>{2 * 16 + 4, 6 * 16 + 4, 2 * 16 + 4}));
    }

    void columnWithoutRouterIsCleared()
    {
        Rig rig;
        rig.route(15, 1, 1);
        rig.display.redrawColumn(15);
        rig.view.OutOffset = 1; // column 15 now shows matrix output 16, which nobody owns
        rig.display.redrawColumn(15);
        QCOMPARE(rig.column(15), columnWith({}));
    }

    void faultInARedrawIsReportedAndEndsIt()
    {
        Rig rig;
        rig.display.UpdateMatrixDisplayCol(&rig.router(), 16, 0);
        QCOMPARE(rig.dialogs.lines(), QStringList{"Function UpdateMatrixDisplayCol: Error: Subscript out of range"});
        QVERIFY(rig.changedCells.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMatrixDisplay)
#include "tst_matrixdisplay.moc"
