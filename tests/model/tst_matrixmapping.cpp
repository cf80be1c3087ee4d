#include "support/ScriptedDialogs.h"
#include "model/MatrixView.h"

#include <QTest>

namespace {

std::unique_ptr<clsRouter> makeRouter(int frameAddress, int inputs, int mapIn, int outputs, int mapOut)
{
    auto router = std::make_unique<clsRouter>();
    router->setRouterType(0);
    router->setFrameAddress(frameAddress);
    router->setInputCount(inputs - 1);
    router->setOutputCount(outputs - 1);
    router->setMapIn(mapIn);
    router->setMapOut(mapOut);
    return router;
}

int countOwned(const std::array<int, MatrixTables::TableSize> &owners, int frameAddress)
{
    return int(std::count(owners.begin(), owners.end(), frameAddress));
}

} // namespace

class TestMatrixMapping : public QObject
{
    Q_OBJECT

private slots:
    void init() { boxes = std::make_unique<desktop::ScriptedDialogs>(); }
    void cleanup()
    {
        QVERIFY2(boxes->shown.isEmpty(), qPrintable(boxes->lines().join(u'\n')));
        boxes.reset();
    }

    void noRouters()
    {
        RouterSlots routers;
        MatrixTables tables;
        tables.MatrixInputs = 5;
        tables.MatOutRouter[3] = 2;
        SizeMatrix(tables, routers);
        QCOMPARE(tables.MatrixInputs, -1);
        QCOMPARE(tables.MatrixOutputs, -1);
        QVERIFY(!tables.AnyRouterSplit);
        QCOMPARE(countOwned(tables.MatInRouter, -1), 128);
        QCOMPARE(countOwned(tables.MatOutRouter, -1), 128);
    }

    void sharedInputsSeparateOutputs()
    {
        RouterSlots routers;
        routers[0] = makeRouter(0, 16, 0, 16, 0);
        routers[1] = makeRouter(1, 8, 0, 8, 16);
        routers[1]->setRouterInName(3, QStringLiteral("Router 1 input 4"));
        MatrixTables tables;
        SizeMatrix(tables, routers);

        QCOMPARE(tables.MatrixInputs, 15);
        QCOMPARE(tables.MatrixOutputs, 23);
        for (int m = 0; m < 16; ++m) {
            QCOMPARE(tables.MatInRouter[m], 0);
            QCOMPARE(tables.MatOutRouter[m], 0);
        }
        for (int m = 16; m < 24; ++m)
            QCOMPARE(tables.MatOutRouter[m], 1);
        QCOMPARE(tables.MatOutRouter[24], -1);
        QCOMPARE(tables.MatInRouter[16], -1);

        const MatrixView view{tables, routers};
        // A route is made inside the router that owns the output.
        int phyOut = -2;
        clsRouter *router = nullptr;
        view.cvMatOutToPhy(20, phyOut, router);
        QCOMPARE(router, routers[1].get());
        QCOMPARE(phyOut, 4);
        int phyIn = -2;
        view.cvMatInToPhy2(3, phyIn, router);
        QCOMPARE(phyIn, 3);
        view.cvMatInToPhy2(12, phyIn, router);
        QCOMPARE(phyIn, -1);

        // Names of a shared input come from the lowest frame address.
        clsRouter *nameRouter = nullptr;
        view.cvMatInToPhy1(3, phyIn, nameRouter);
        QCOMPARE(nameRouter, routers[0].get());
        QCOMPARE(nameRouter->RouterInName(phyIn), QStringLiteral("In 04"));
    }

    void gapsAndOffsets()
    {
        RouterSlots routers;
        routers[4] = makeRouter(4, 8, 32, 4, 0);
        MatrixTables tables;
        SizeMatrix(tables, routers);
        QCOMPARE(tables.MatrixInputs, 39);
        QCOMPARE(tables.MatInRouter[31], -1);
        QCOMPARE(tables.MatInRouter[32], 4);

        MatrixView view{tables, routers, 30, 8};
        clsRouter *router = routers[4].get();
        clsRouter *untouched = router;
        int phyIn = -2;
        view.cvMatInToPhy1(0, phyIn, untouched);
        QCOMPARE(phyIn, -1);
        QCOMPARE(untouched, router);
        view.cvMatInToPhy1(2, phyIn, untouched);
        QCOMPARE(phyIn, 0);

        int phyOut = -2;
        view.cvMatOutToPhy(0, phyOut, untouched);
        QCOMPARE(phyOut, -1); // matrix output 8 has no owner

        int column = 0;
        view.cvPhyOutToMat(3, column, *router);
        QCOMPARE(column, -5);
        int row = 0;
        view.cvPhyInToMat(1, row, *router);
        QCOMPARE(row, 3);

        view.cvMatInToPhy2(2, phyIn, nullptr);
        QCOMPARE(phyIn, -1);
    }

    void splitRouterWithoutOutputs()
    {
        RouterSlots routers;
        routers[7] = std::make_unique<clsRouter>();
        routers[7]->canSplit = true;
        MatrixTables tables;
        SizeMatrix(tables, routers);
        QVERIFY(tables.AnyRouterSplit);
        QCOMPARE(tables.MatrixOutputs, -1);
    }

    void lowestFrameAddressWinsAnOverlap()
    {
        RouterSlots routers;
        routers[9] = makeRouter(9, 4, 0, 4, 0);
        routers[2] = makeRouter(2, 4, 2, 4, 2);
        MatrixTables tables;
        SizeMatrix(tables, routers);
        QCOMPARE(tables.MatOutRouter[1], 9);
        QCOMPARE(tables.MatOutRouter[2], 2);
        QCOMPARE(tables.MatInRouter[3], 2);
        QCOMPARE(tables.MatInRouter[5], 2);
    }

    // A count raised after its offset can carry ports past the tables; they
    // are left out and the rest of the router still counts.
    void portsBeyondTheTablesAreLeftOut()
    {
        RouterSlots routers;
        routers[0] = makeRouter(0, 1, 120, 1, 120);
        routers[0]->setInputCount(126);
        routers[0]->setOutputCount(126);
        MatrixTables tables;
        SizeMatrix(tables, routers);
        QCOMPARE(tables.MatrixInputs, 127);
        QCOMPARE(tables.MatrixOutputs, 127);
        QCOMPARE(tables.MatInRouter[127], 0);
        QCOMPARE(tables.MatOutRouter[119], -1);

        const MatrixView view{tables, routers, 112, 112};
        int phyOut = -2;
        clsRouter *router = nullptr;
        view.cvMatOutToPhy(15, phyOut, router);
        QCOMPARE(phyOut, 7);
        view.cvMatOutToPhy(16, phyOut, router); // past the tables: no owner, no crash
        QCOMPARE(phyOut, -1);
    }

private:
    std::unique_ptr<desktop::ScriptedDialogs> boxes;
};

QTEST_GUILESS_MAIN(TestMatrixMapping)
#include "tst_matrixmapping.moc"
