#include "desktop/Fault.h"
#include "support/ScriptedDialogs.h"
#include "model/clsRouter.h"

#include <QTest>

using desktop::Fault;
using desktop::Icon;
using desktop::ScriptedDialogs;

namespace {

QStringList inNames(const clsRouter &router)
{
    QStringList names;
    for (int i = 0; i <= router.InputCount(); ++i)
        names << router.RouterInName(i);
    return names;
}

} // namespace

class TestClsRouter : public QObject
{
    Q_OBJECT

private slots:
    // A refused value keeps the old one and raises the error flag, which the
    // next read clears.
    void refusedValueRaisesTheErrorFlagOnce()
    {
        ScriptedDialogs boxes;
        clsRouter router;
        router.setOutputCount(3);
        router.setOutputCount(127);
        QCOMPARE(router.OutputCount(), 3);
        QCOMPARE(boxes.lines(), QStringList{"Data Error: Output count out of range"});
        QCOMPARE(boxes.shown[0].icon, Icon::Warning);
        QVERIFY(router.wasError());
        QVERIFY(!router.wasError());
    }

    void countsResizeNames()
    {
        ScriptedDialogs boxes;
        clsRouter router;
        router.setInputCount(15);
        QCOMPARE(router.RouterInName(0), QStringLiteral("In 01"));
        QCOMPARE(router.RouterInName(15), QStringLiteral("In 16"));
        router.setRouterInName(2, QStringLiteral("Camera 3"));
        router.setInputCount(3);
        QCOMPARE(inNames(router), QStringList({"In 01", "In 02", "Camera 3", "In 04"}));
        QCOMPARE(router.RouterInName(4), QString());
        router.setInputCount(7);
        QCOMPARE(inNames(router),
                 QStringList({"In 01", "In 02", "Camera 3", "In 04", "In 05", "In 06", "In 07", "In 08"}));
        QVERIFY(boxes.shown.isEmpty());
    }

    void mapRangesFollowTheCount()
    {
        ScriptedDialogs boxes;
        clsRouter router;
        router.setInputCount(15);
        router.setMapIn(111);
        QCOMPARE(router.mapIn(), 111);
        router.setMapIn(112);
        QCOMPARE(router.mapIn(), 111);
        QCOMPARE(boxes.lines(), QStringList{"Data Error: MatIn out of range"});

        router.setInputCount(126);
        router.setMapIn(0);
        QCOMPARE(router.mapIn(), 0);
        router.setMapIn(1);
        QCOMPARE(router.mapIn(), 0);
    }

    void semicolonNamesRefusedWithoutErrorFlag()
    {
        ScriptedDialogs boxes;
        clsRouter router;
        router.setInputCount(15);
        router.setOutputCount(3);
        router.setRouterInName(3, QStringLiteral("a;b"));
        router.setRouterOutName(1, QStringLiteral(";"));
        QCOMPARE(router.RouterInName(3), QStringLiteral("In 04"));
        QCOMPARE(router.RouterOutName(1), QStringLiteral("Out 02"));
        QCOMPARE(boxes.lines(), QStringList({"Data Error: Invalid input name: cannot have semicolons (;)",
                                             "Data Error: Invalid Output name: cannot have semicolons (;)"}));
        QCOMPARE(boxes.shown[0].icon, Icon::Information);
        QVERIFY(!router.wasError());

        router.setRouterInName(200, QStringLiteral("x"));
        router.setRouterInName(-1, QStringLiteral("x"));
        QCOMPARE(boxes.shown.size(), 2);
        router.setRouterInName(0, QStringLiteral("  kept as is "));
        QCOMPARE(router.RouterInName(0), QStringLiteral("  kept as is "));
    }

    void idFromName()
    {
        ScriptedDialogs boxes;
        clsRouter router;
        router.setInputCount(4);
        router.setRouterInName(1, QStringLiteral("VTR"));
        router.setRouterInName(3, QStringLiteral("VTR"));
        QCOMPARE(router.InIDFromName(QStringLiteral("VTR")), 1);
        QCOMPARE(router.InIDFromName(QStringLiteral("vtr")), -1);
        QCOMPARE(router.InIDFromName(QStringLiteral("In 03")), 2);
        QCOMPARE(router.OutIDFromName(QStringLiteral("In 03")), -1);
    }

    // A line assigned to a fresh record: the record it gives (read back
    // through StringVal), the boxes shown and the valid flag.
    void stringValLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("readBack");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("valid");

        QTest::newRow("numbers only: names read as empty")
            << "1; 4; 7; 3; 0; 8; -1" << "1; 4; 7; 3; 0; 8; -1;; ; ; ; ; ; ; ; ; ; ; ; " << QStringList() << true;
        QTest::newRow("numbers read leniently, names trimmed, extra tokens ignored")
            << " 0.6 ;  2.5x; 1e0;0; 9; ; 0; a ;b; c; extra; more" << "1; 2; 1; 0; 9; 0; 0;a; b; c; "
            << QStringList() << true;
        QTest::newRow("frame address 16 refused")
            << "0; 16; 1; 1; 0; 0; 0;a; b; c; d; " << "0; 0; 1; 1; 0; 0; 0;a; b; c; d; "
            << QStringList{"Data Error: Frame Address out of range"} << false;
        // The refused input count leaves -1, so no input names are read and
        // the offsets are checked against the counts that stand.
        QTest::newRow("several refusals")
            << "5; 3; 200; 1; 0; 126; 0;x; y; " << "-1; 3; -1; 1; 0; 0; 0;x; y; "
            << QStringList{"Data Error: Router Type out of range", "Data Error: Input count out of range",
                           "Data Error: MatOut out of range"}
            << false;
        QTest::newRow("mapIn past the matrix") << "0; 3; 0; 0; 127; 0; 0;a; b; " << "0; 3; 0; 0; 0; 0; 0;a; b; "
                                               << QStringList{"Data Error: MatIn out of range"} << false;
        QTest::newRow("overflow stops the reading")
            << "1; 7; 100000; 1; 0; 0; 0;" << "1; 7; -1; -1; 0; 0; 0;"
            << QStringList{"Function StringVal: Error: Overflow"} << false;
    }

    void stringValLines()
    {
        QFETCH(QString, line);
        ScriptedDialogs boxes;
        clsRouter router;
        router.setStringVal(line);
        QTEST(router.StringVal(), "readBack");
        QTEST(boxes.lines(), "boxes");
        QTEST(router.isValid(), "valid");
        QVERIFY(!router.wasError());
    }

    void validFlagFollowsTheLastAssignmentOnly()
    {
        ScriptedDialogs boxes;
        clsRouter router;
        router.setStringVal(QStringLiteral("0; 0; 0; 0; 0; 0; 0;a; b; "));
        QVERIFY(router.isValid());
        router.setStringVal(QStringLiteral("0; 20; 0; 0; 0; 0; 0;a; b; "));
        QVERIFY(!router.isValid());
    }

    void routeStatesFollowOutputCount()
    {
        ScriptedDialogs boxes;
        clsRouter router;
        router.setOutputCount(7);
        router.canSplit = true;
        clsRouteState &state = router.RouteState(5);
        QVERIFY(state.canSplit);
        QCOMPARE(&router.RouteState(5), &state);
        state.setVideo(2);

        router.setOutputCount(3);
        router.setOutputCount(7);
        QCOMPARE(router.RouteState(5).Video(), -1);
        QCOMPARE(router.RouteState(5).Audio(), -1);

        for (int outside : {8, -1}) {
            QVERIFY_THROWS_EXCEPTION(Fault, router.RouteState(outside).setVideo(0));
        }
    }
};

QTEST_GUILESS_MAIN(TestClsRouter)
#include "tst_clsrouter.moc"
