#include "desktop/Fault.h"
#include "link/MacroRecorder.h"
#include "model/MacroBank.h"

#include <QTest>

namespace {

struct Take
{
    int frameAddress, output, input, level;
};

QList<RouteRecord> records(const QList<Take> &takes)
{
    QList<RouteRecord> result;
    for (const Take &t : takes)
        result.append(RouteRecord::pack(t.frameAddress, t.output, t.input, t.level));
    return result;
}

} // namespace

class TestMacroRecorder : public QObject
{
    Q_OBJECT

private slots:
    void recordingOrder_data()
    {
        QTest::addColumn<QList<RouteRecord>>("taken");
        QTest::addColumn<QList<RouteRecord>>("recorded");

        QTest::newRow("in the order taken") << records({{0, 1, 2, 3}, {1, 0, 0, 3}, {0, 5, 2, 1}})
                                            << records({{0, 1, 2, 3}, {1, 0, 0, 3}, {0, 5, 2, 1}});
        QTest::newRow("same crosspoint again moves to the end with its new level")
            << records({{0, 5, 2, 1}, {0, 6, 1, 3}, {0, 5, 2, 3}}) << records({{0, 6, 1, 3}, {0, 5, 2, 3}});
        QTest::newRow("one output to different inputs keeps both, in order")
            << records({{0, 5, 2, 3}, {0, 5, 7, 3}}) << records({{0, 5, 2, 3}, {0, 5, 7, 3}});
        QTest::newRow("same ports on another router is another route")
            << records({{0, 5, 2, 3}, {1, 5, 2, 3}}) << records({{0, 5, 2, 3}, {1, 5, 2, 3}});
        QTest::newRow("back and forth") << records({{0, 5, 2, 3}, {0, 5, 7, 3}, {0, 5, 2, 2}})
                                        << records({{0, 5, 7, 3}, {0, 5, 2, 2}});
    }

    void recordingOrder()
    {
        QFETCH(QList<RouteRecord>, taken);
        MacroRecorder recorder;
        for (const RouteRecord &r : taken)
            recorder.RecordRoute(r.frameAddress(), r.output(), r.input(), r.level());
        QTEST(recorder.RecordedRoutes.items(), "recorded");
    }

    void keysLeaveOutTheLevel()
    {
        MacroRecorder recorder;
        recorder.RecordRoute(2, 5, 9, 1);
        QCOMPARE(MacroRecorder::routeKey(2, 5, 9), QStringLiteral("2:5:9"));
        QVERIFY(KeyExists(recorder.RecordedRoutes, QStringLiteral("2:5:9")));
        QVERIFY(!KeyExists(recorder.RecordedRoutes, QStringLiteral("2:9:5")));

        recorder.NewRecording();
        QVERIFY(!KeyExists(recorder.RecordedRoutes, QStringLiteral("2:5:9")));
        QCOMPARE(recorder.RecordedRoutes.size(), 0);
    }

    void saveCopiesTheRecording()
    {
        MacroBank bank;
        MacroRecorder recorder;
        recorder.SaveMacro(bank, 4);
        QVERIFY(bank.Macros[4].has_value()); // saved with no routes: not the same as an empty slot
        QVERIFY(bank.Macros[4]->isEmpty());

        recorder.RecordRoute(1, 2, 3, 3);
        recorder.SaveMacro(bank, 4);
        recorder.RecordRoute(1, 4, 4, 3);
        QCOMPARE(*bank.Macros[4], records({{1, 2, 3, 3}}));
        QCOMPARE(recorder.RecordedRoutes.size(), 2);

        QVERIFY_THROWS_EXCEPTION(desktop::Fault, recorder.SaveMacro(bank, 12));
    }
};

QTEST_GUILESS_MAIN(TestMacroRecorder)
#include "tst_macrorecorder.moc"
