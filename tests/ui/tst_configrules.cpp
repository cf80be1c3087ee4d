#include "support/ConfigRig.h"
#include "support/DataRows.h"

#include <QSignalSpy>
#include <QTest>

using RowField = ConfigRules::RowField;

class TestConfigRules : public QObject
{
    Q_OBJECT

private slots:
    // Operator steps (see ConfigRig::play) from routers in the given slots:
    // the set-up stored afterwards and the boxes shown.
    void sessions_data()
    {
        columns<QList<int>, QString, QString, QString>({"filled", "steps", "stored", "box"});
        const auto refused = [](const QString &text) { return QStringLiteral("Velmora: ") + text; };
        const QString two = QStringLiteral("0: 0; 0; 15; 15; 0; 0; 0 | 1: 0; 1; 15; 15; 0; 16; 0");
        const QString kept = QStringLiteral("COM2 | 3 | loaded | ") + two;
        const QString untouched = QStringLiteral("COM2 | 3 | not loaded | ") + two;
        const QString noPort = refused(QStringLiteral("Please set the COM port to something"));
        const QString timeoutRange = refused(QStringLiteral("Router Timeout must be between .01 and 60 seconds"));
        const QList<int> firstTwo{0, 1};
        // clang-format off
        // Opening, counts, OK and Cancel.
        QTest::newRow("OK takes routers up to the first gap") << QList<int>{0, 1, 3} << "ok" << kept << "";
        QTest::newRow("Cancel stores nothing but edits to existing routers") << QList<int>{0, 1, 3} << "type 0 1; split 0; in 0 8; count 1; cancel"
            << "COM2 | 3 | not loaded | 0: 1; 0; 7; 15; 0; 0; -1 | 1: 0; 1; 15; 15; 0; 16; 0 | 3: 0; 3; 15; 15; 0; 32; 0" << "";
        QTest::newRow("count down and up makes new routers") << QList<int>{0, 1, 2} << "count 1; count 3; type 1 0; out 1 2; in 1 2; type 2 1; out 2 4; in 2 4; ok"
            << "COM2 | 3 | loaded | 0: 0; 0; 15; 15; 0; 0; 0 | 1: 0; 1; 1; 1; 0; 16; 0 new | 2: 1; 2; 3; 3; 0; 18; 0 new" << "";
        QTest::newRow("reset mapping") << firstTwo << "advanced; min 0 6; min 1 4; mout 1 41; reset; ok" << kept << "";
        QTest::newRow("reset mapping without routers") << QList<int>{} << "reset" << "COM2 | 3 | not loaded" << "";
        // OK's checks: a refused OK stores nothing.
        // Typed port text is no choice, however it reads; a choice afterwards counts.
        QTest::newRow("port text typed, checked first") << firstTwo << "port typed; ok abc" << untouched << noPort;
        QTest::newRow("port chosen after typing") << firstTwo << "port typed; port 2; ok" << "COM3 | 3 | loaded | " + two << "";
        QTest::newRow("timeout 60") << firstTwo << "ok 60" << "COM2 | 60 | loaded | " + two << "";
        QTest::newRow("timeout 60.5") << firstTwo << "ok 60.5" << untouched << timeoutRange;
        QTest::newRow("timeout 0") << firstTwo << "ok 0" << untouched << timeoutRange;
        QTest::newRow("timeout 0.005") << firstTwo << "ok 0.005" << "COM2 | 0.005 | loaded | " + two << "";
        QTest::newRow("timeout 1e40 beyond a Single") << firstTwo << "ok 1e40" << untouched << timeoutRange;
        QTest::newRow("one input, one output passes") << firstTwo << "count 1; in 0 1; out 0 1; ok" << "COM2 | 3 | loaded | 0: 0; 0; 0; 0; 0; 0; 0" << "";
        QTest::newRow("typed new router, outputs checked before inputs") << firstTwo << "count 3; type 2 1; ok" << untouched << refused("Router 2 has an output count of zero");
        QTest::newRow("no type") << firstTwo << "count 3; ok" << untouched << refused("Router 2 has no router type selected");
        QTest::newRow("no inputs") << firstTwo << "count 3; type 2 1; out 2 4; ok" << untouched << refused("Router 2 has an input count of zero");
        QTest::newRow("overlap by hand") << firstTwo << "advanced; mout 1 10; ok" << "COM2 | 3 | not loaded | 0: 0; 0; 15; 15; 0; 0; 0 | 1: 0; 1; 15; 15; 0; 9; 0"
            << refused("Router 1 has mapped output(s) overlapping Router 0. Set the range to unused area.");
        // The offset was set before the count was raised: outputs 100 to 226.
        QTest::newRow("outputs past the matrix") << firstTwo << "stored 1 100 126; ok" << "COM2 | 3 | not loaded | 0: 0; 0; 15; 15; 0; 0; 0 | 1: 0; 1; 15; 126; 0; 100; 0"
            << "Function btnOK_Click: Error: Router 1 has mapped output(s) running past the last matrix output";
        // A field applies only when it was left after getting the focus.
        const QString firstRouter = QStringLiteral("COM2 | 3 | not loaded | 0: 0; 0; 15; 15; 0; 0; 0");
        QTest::newRow("never focused") << QList<int>{0} << "~in 0 4" << firstRouter << "";
        for (const char *interruption : {"scroll 0", "count 1", "advanced", "cancel"})
            QTest::addRow("focus lost to %s", interruption) << QList<int>{0} << "focus; " + QString::fromLatin1(interruption) + "; ~in 0 4" << firstRouter << "";
        QTest::newRow("focus lost to a refused OK") << QList<int>{0} << "focus; port typed; ok; ~in 0 4" << firstRouter << noPort;
        // clang-format on
    }

    void sessions()
    {
        const auto [filled, steps] = fetch<QList<int>, QString>({"filled", "steps"});
        ConfigRig rig(filled);
        rig.open();
        rig.play(steps);
        QTEST(rig.setup(), "stored");
        QTEST(rig.dialogs.lines().join(u'|'), "box");
    }

    void openingShowsPortAndTimeout_data()
    {
        columns<QString, float, int, QString>({"port", "timeout", "comIndex", "timeoutText"});
        QTest::newRow("nothing set") << QString() << 0.0f << 0 << "2";
        QTest::newRow("COM3") << "COM3" << 3.0f << 2 << "3";
        QTest::newRow("above the limit") << "COM1" << 60.5f << 0 << "60.5";
        QTest::newRow("no such port") << "COM9" << 1.0f << -1 << "1";
    }

    void openingShowsPortAndTimeout()
    {
        const auto [port, timeout] = fetch<QString, float>({"port", "timeout"});
        ConfigRig rig;
        rig.config.CommPortName = port;
        rig.config.RouterTimeout = timeout;
        const ConfigRules &rules = rig.open();
        QTEST(rules.comIndex(), "comIndex");
        QTEST(rules.initialTimeoutText(), "timeoutText");
    }

    // Outputs stack as routers are typed; the rows follow the count.
    void automaticOutputMappingAndScrolling()
    {
        ConfigRig rig;
        ConfigRules &rules = rig.open();
        // Slot 0 without a type does not count: slot 1 starts at matrix output 1.
        rig.play(QStringLiteral("count 2; type 1 1; out 1 8"));
        QCOMPARE(rules.WorkRouters(1)->mapOut(), 0);
        rig.play(QStringLiteral("type 0 0; out 0 16"));
        QCOMPARE(rules.WorkRouters(1)->mapOut(), 16);
        QCOMPARE(rules.row(1).mOutput, "17");

        // In advanced mode a type choice keeps hand-set offsets; an output count edit restacks them.
        rig.play(QStringLiteral("advanced; mout 1 30; type 1 0"));
        QCOMPARE(rules.WorkRouters(1)->mapOut(), 29);
        rig.play(QStringLiteral("out 1 4"));
        QCOMPARE(rules.WorkRouters(1)->mapOut(), 16);
        QVERIFY(rig.dialogs.shown.isEmpty());

        // Scrolled past the last router, the rows show empty.
        rig.play(QStringLiteral("count 16; scroll 14"));
        QCOMPARE(rules.scrollMaximum(), 14);
        QCOMPARE(rules.row(1).frameAddress, "15");
        QVERIFY(!rules.row(2).filled);

        // A smaller count pulls the scroll position back to its new maximum
        // (five routers: 2.5, rounded to even).
        QSignalSpy refills(&rules, &ConfigRules::rowsRefilled);
        QVERIFY(refills.isValid());
        rig.play(QStringLiteral("count 5"));
        QCOMPARE(rules.TopRow(), 2);
        QCOMPARE(rules.row(0).frameAddress, "02");
        QVERIFY(!refills.isEmpty());
    }

    void fieldEdits_data()
    {
        columns<RowField, QString, int, QString, QString>({"field", "text", "stored", "box", "shown"});

        const QString unchanged = QStringLiteral("as typed");
        const QString inputRange = QStringLiteral("Data Error: Input count out of range");
        const RowField in = RowField::Inputs, out = RowField::Outputs;
        // clang-format off
        QTest::newRow("inputs 12abc") << in << "12abc" << 11 << "" << unchanged;
        QTest::newRow("inputs 0") << in << "0" << 15 << inputRange << "16";
        QTest::newRow("inputs 32768 fits 16 bits") << in << "32768" << 15 << inputRange << "16";
        QTest::newRow("inputs 32769 overflows") << in << "32769" << 15 << "Function txtInputs_LostFocus: Error: Overflow" << "16";
        QTest::newRow("outputs 2.5 refills") << out << "2.5" << 2 << "" << "3";
        QTest::newRow("outputs 1e9 overflows") << out << "1e9" << 15 << "Function txtOutputs_LostFocus: Error: Overflow" << "16";
        QTest::newRow("first input 112") << RowField::MInput << "112" << 111 << "" << unchanged;
        QTest::newRow("first input 113") << RowField::MInput << "113" << 0 << "Data Error: MatIn out of range" << "1";
        QTest::newRow("first output 0") << RowField::MOutput << "0" << 0 << "Data Error: MatOut out of range" << "1";
        // clang-format on
    }

    void fieldEdits()
    {
        const auto [field, text, shown] = fetch<RowField, QString, QString>({"field", "text", "shown"});
        ConfigRig rig({0});
        ConfigRules &rules = rig.open();
        rig.play(QStringLiteral("advanced"));
        QSignalSpy restored(&rules, &ConfigRules::fieldRestored);
        QSignalSpy refilled(&rules, &ConfigRules::rowsRefilled);
        QVERIFY(restored.isValid() && refilled.isValid());

        rules.rowFieldGotFocus();
        rules.rowFieldLostFocus(field, 0, text);

        clsRouter &router = *rig.stored(0);
        const int values[] = {router.InputCount(), router.OutputCount(), router.mapIn(), router.mapOut()};
        QTEST(values[int(field)], "stored");
        QTEST(rig.dialogs.lines().join(u'|'), "box");
        // What the field shows afterwards: the typed text, the value put back, or the refilled row.
        const bool putBack = !restored.isEmpty() || !refilled.isEmpty();
        QCOMPARE(putBack ? rules.fieldText(field, 0) : QStringLiteral("as typed"), shown);
        QVERIFY(!router.wasError());
    }

    void handlersDoNothingWhileTheRowsAreRefilled()
    {
        ConfigRig rig({0});
        ConfigRules &rules = rig.open();
        // The dialog's own writes into the controls come back as events during a refill.
        connect(&rules, &ConfigRules::rowsRefilled, &rules, [&] {
            QCOMPARE(rules.UpdateDepth(), 1);
            rig.play(QStringLiteral("type 0 1; split 0; in 0 3"));
        });
        rules.btnAdvanced_Click(true);
        QCOMPARE(rig.setup(), "COM2 | 3 | not loaded | 0: 0; 0; 15; 15; 0; 0; 0");
    }
};

QTEST_GUILESS_MAIN(TestConfigRules)
#include "tst_configrules.moc"
