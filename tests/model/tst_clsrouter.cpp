#include "desktop/Fault.h"
#include "model/clsRouter.h"
#include "support/DataRows.h"
#include "support/ScriptedDialogs.h"

#include <QHash>
#include <QRegularExpression>
#include <QTest>

using desktop::Fault;
using desktop::ScriptedDialogs;

class TestClsRouter : public QObject
{
    Q_OBJECT

private slots:
    // Steps "in=3|mapIn=123|inName2=Cam|line=..." on a fresh record: the
    // record they leave (as its StringVal), the boxes and the flag: "error"
    // while the error flag is up, "valid" after a line assigned without a
    // refusal, else "-". A refused value keeps the old one; a refused name
    // raises no error flag.
    void steps_data()
    {
        columns<QString, QString, QStringList, QString>({"steps", "record", "boxes", "flag"});
        // clang-format off
        QTest::newRow("refused count") << "out=3|out=127" << "-1; 0; -1; 3; 0; 0; 0;Out 01; Out 02; Out 03; Out 04; " << QStringList{"Data Error: Output count out of range"} << "error";
        QTest::newRow("counts resize the names, edits kept") << "in=15|inName2=Camera 3|in=3|in=7" << "-1; 0; 7; -1; 0; 0; 0;In 01; In 02; Camera 3; In 04; In 05; In 06; In 07; In 08; " << QStringList() << "-";
        QTest::newRow("matrix input range follows the count") << "in=3|mapIn=123|mapIn=124" << "-1; 0; 3; -1; 123; 0; 0;In 01; In 02; In 03; In 04; " << QStringList{"Data Error: MatIn out of range"} << "error";
        QTest::newRow("matrix output range follows the count") << "out=0|mapOut=126|mapOut=127" << "-1; 0; -1; 0; 0; 126; 0;Out 01; " << QStringList{"Data Error: MatOut out of range"} << "error";
        QTest::newRow("semicolons in names refused") << "in=1|out=1|inName1=a;b|outName0=;" << "-1; 0; 1; 1; 0; 0; 0;In 01; In 02; Out 01; Out 02; "
            << QStringList{"Data Error: Invalid input name: cannot have semicolons (;)", "Data Error: Invalid Output name: cannot have semicolons (;)"} << "-";
        QTest::newRow("control characters dropped from names") << "in=0|out=0|inName0=\x1b[1mA\x07|outName0=\x7f B" << "-1; 0; 0; 0; 0; 0; 0;[1mA; B; " << QStringList() << "-";
        QTest::newRow("names outside the ports ignored, blanks trimmed") << "in=1|inName200=x|inName-1=x|inName0=  lead and trail |inName1=   " << "-1; 0; 1; -1; 0; 0; 0;lead and trail; ; " << QStringList() << "-";
        // A line read back through StringVal.
        QTest::newRow("line: numbers only, names read as empty") << "line=1; 4; 7; 3; 0; 8; -1" << "1; 4; 7; 3; 0; 8; -1;; ; ; ; ; ; ; ; ; ; ; ; " << QStringList() << "valid";
        QTest::newRow("line: numbers read leniently, names trimmed, extra tokens ignored") << "line= 0.6 ;  2.5x; 1e0;0; 9; ; 0; a ;b; c; extra; more" << "1; 2; 1; 0; 9; 0; 0;a; b; c; " << QStringList() << "valid";
        QTest::newRow("line: frame address 16 refused") << "line=0; 16; 1; 1; 0; 0; 0;a; b; c; d; " << "0; 0; 1; 1; 0; 0; 0;a; b; c; d; " << QStringList{"Data Error: Frame Address out of range"} << "-";
        // The refused input count leaves -1, so no input names are read and
        // the offsets are checked against the counts that stand.
        QTest::newRow("line: several refusals") << "line=5; 3; 200; 1; 0; 126; 0;x; y; " << "-1; 3; -1; 1; 0; 0; 0;x; y; "
            << QStringList{"Data Error: Router Type out of range", "Data Error: Input count out of range", "Data Error: MatOut out of range"} << "-";
        QTest::newRow("line: overflow stops the reading") << "line=1; 7; 100000; 1; 0; 0; 0;" << "1; 7; -1; -1; 0; 0; 0;" << QStringList{"Function StringVal: Error: Overflow"} << "-";
        // clang-format on
    }

    void steps()
    {
        QFETCH(QString, steps);
        ScriptedDialogs boxes;
        clsRouter router;
        static const QRegularExpression form(QStringLiteral("^([a-zA-Z]+)(-?\\d*)=(.*)$"));
        using Step = void (*)(clsRouter &, int, const QString &);
        static const QHash<QString, Step> apply{
            {"in", [](clsRouter &r, int, const QString &v) { r.setInputCount(v.toInt()); }},
            {"out", [](clsRouter &r, int, const QString &v) { r.setOutputCount(v.toInt()); }},
            {"mapIn", [](clsRouter &r, int, const QString &v) { r.setMapIn(v.toInt()); }},
            {"mapOut", [](clsRouter &r, int, const QString &v) { r.setMapOut(v.toInt()); }},
            {"inName", [](clsRouter &r, int i, const QString &v) { r.setRouterInName(i, v); }},
            {"outName", [](clsRouter &r, int i, const QString &v) { r.setRouterOutName(i, v); }},
            {"line", [](clsRouter &r, int, const QString &v) { r.setStringVal(v); }}};
        for (const QString &step : steps.split(u'|')) {
            const QRegularExpressionMatch match = form.match(step);
            apply.value(match.captured(1))(router, match.captured(2).toInt(), match.captured(3));
        }
        QTEST(router.StringVal(), "record");
        QTEST(boxes.lines(), "boxes");
        const bool error = router.wasError();
        QTEST(QString::fromLatin1(error ? "error" : router.isValid() ? "valid" : "-"), "flag");
        QVERIFY(!router.wasError());
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
        QCOMPARE(std::pair(router.RouteState(5).Video(), router.RouteState(5).Audio()), std::pair(-1, -1));
        QVERIFY_THROWS_EXCEPTION(Fault, router.RouteState(8).setVideo(0));
        QVERIFY_THROWS_EXCEPTION(Fault, router.RouteState(-1).setVideo(0));
    }
};

QTEST_GUILESS_MAIN(TestClsRouter)
#include "tst_clsrouter.moc"
