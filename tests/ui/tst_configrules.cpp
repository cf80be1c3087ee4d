#include "ConfigRig.h"

#include <QSignalSpy>
#include <QTest>

using RowField = ConfigRules::RowField;

namespace {

const QString ProductTitle = QStringLiteral("Velmora: ");

} // namespace

class TestConfigRules : public QObject
{
    Q_OBJECT

private slots:
    void openingTakesRoutersUpToTheFirstGap_data()
    {
        QTest::addColumn<bool>("pressOK");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void openingTakesRoutersUpToTheFirstGap()
    {
        QFETCH(bool, pressOK);
        ConfigRig rig({0, 1, 3});
        clsRouter *first = ConfigRig::global(0);
        ConfigRules &rules = rig.open();
        QCOMPARE(rules.LastRouter(), 1);
        QCOMPARE(rules.WorkRouters(0), first);
        QVERIFY(!rules.row(2).filled);

        if (pressOK) {
            QVERIFY(rig.ok());
        } else {
            rig.cancel();
        }
        QCOMPARE(ConfigRig::global(0), first);
        QVERIFY(ConfigRig::global(1));
        QCOMPARE(ConfigRig::global(3) != nullptr, !pressOK);
        QCOMPARE(Globals().ConfigLoaded, pressOK);
    }

    void openingShowsPortAndTimeout_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<float>("timeout");
        QTest::addColumn<int>("comIndex");
        QTest::addColumn<QString>("timeoutText");
        QTest::newRow("nothing set") << QString() << 0.0f << 0 << "2";
        QTest::newRow("COM3") << "COM3" << 3.0f << 2 << "3";
        QTest::newRow("above the limit") << "COM1" << 60.5f << 0 << "60.5";
        QTest::newRow("no such port") << "COM9" << 1.0f << -1 << "1";
    }

    void openingShowsPortAndTimeout()
    {
        QFETCH(QString, port);
        QFETCH(float, timeout);
        ConfigRig rig;
        Globals().CommPortName = port;
        Globals().RouterTimeout = timeout;
        const ConfigRules &rules = rig.open();
        QTEST(rules.initialComIndex(), "comIndex");
        QTEST(rules.initialTimeoutText(), "timeoutText");
        QCOMPARE(rules.LastRouter(), -1);
    }

    void countChangesCreateAndDropRouters()
    {
        ConfigRig rig({0, 1, 2, 3, 4});
        clsRouter *kept = ConfigRig::global(2);
        clsRouter *dropped = ConfigRig::global(4);
        ConfigRules &rules = rig.open();
        rules.cboRouterCount_Click(3);
        QCOMPARE(rules.WorkRouters(3), nullptr);
        rules.cboRouterCount_Click(5);

        QCOMPARE(rules.WorkRouters(2), kept);
        for (const int slot : {3, 4}) {
            const clsRouter *created = rules.WorkRouters(slot);
            QVERIFY(created && created != dropped);
            QCOMPARE(created->FrameAddress(), slot);
        }
        // Nothing is stored before OK: the dropped router is still in the set-up.
        QCOMPARE(ConfigRig::global(4), dropped);
        rig.cancel();
        QCOMPARE(ConfigRig::global(4), dropped);
    }

    void scrollRange_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("maximum");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("four") << 4 << 2;
        QTest::newRow("five, 2.5 to even") << 5 << 2;
        QTest::newRow("sixteen") << 16 << 14;
    }

    void scrollRange()
    {
        QFETCH(int, count);
        ConfigRig rig;
        ConfigRules &rules = rig.open();
        rules.cboRouterCount_Click(count);
        QTEST(rules.scrollMaximum(), "maximum");
    }

    void scrollingPastTheLastRouterShowsEmptyRows()
    {
        ConfigRig rig;
        ConfigRules &rules = rig.open();
        rules.cboRouterCount_Click(16);
        rules.VScroll_Change(14);
        QCOMPARE(rules.row(0).frameAddress, "14");
        QCOMPARE(rules.row(1).frameAddress, "15");
        QVERIFY(!rules.row(2).filled);
        QVERIFY(!rules.row(3).filled);

        // A smaller count pulls the scroll position back to its new maximum.
        QSignalSpy refills(&rules, &ConfigRules::rowsRefilled);
        rules.cboRouterCount_Click(5);
        QCOMPARE(rules.TopRow(), 2);
        QCOMPARE(rules.row(0).frameAddress, "02");
        QVERIFY(!refills.isEmpty());
    }

    void automaticOutputMapping()
    {
        ConfigRig rig;
        ConfigRules &rules = rig.open();
        rules.cboRouterCount_Click(2);
        // Slot 0 without a type does not count: slot 1 starts at matrix output 1.
        rules.cboRouter_Click(1, 1);
        rig.edit(RowField::Outputs, 1, QStringLiteral("8"));
        QCOMPARE(rules.WorkRouters(1)->mapOut(), 0);

        rules.cboRouter_Click(0, 0);
        rig.edit(RowField::Outputs, 0, QStringLiteral("16"));
        QCOMPARE(rules.WorkRouters(0)->mapOut(), 0);
        QCOMPARE(rules.WorkRouters(1)->mapOut(), 16);
        QCOMPARE(rules.row(1).mOutput, "17");
        QVERIFY(rig.dialogs.shown.isEmpty());

        // In advanced mode a type choice keeps hand-set offsets; an output count edit restacks them.
        rules.btnAdvanced_Click(true);
        rig.edit(RowField::MOutput, 1, QStringLiteral("30"));
        rules.cboRouter_Click(1, 0);
        QCOMPARE(rules.WorkRouters(1)->mapOut(), 29);
        rig.edit(RowField::Outputs, 1, QStringLiteral("4"));
        QCOMPARE(rules.WorkRouters(1)->mapOut(), 16);
    }

    void resetRestoresTheDefaultMapping()
    {
        ConfigRig empty;
        empty.open().btnResetMapping_Click();
        QVERIFY(empty.dialogs.shown.isEmpty());

        ConfigRig rig({0, 1}, 8);
        ConfigRig::global(0)->setMapIn(5);
        ConfigRig::global(1)->setMapIn(3);
        ConfigRig::global(1)->setMapOut(40);
        ConfigRules &rules = rig.open();
        rules.btnResetMapping_Click();
        QCOMPARE(ConfigRig::global(0)->mapIn(), 0);
        QCOMPARE(ConfigRig::global(1)->mapIn(), 0);
        QCOMPARE(ConfigRig::global(1)->mapOut(), 8);
    }

    void fieldEdits_data()
    {
        QTest::addColumn<RowField>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("shown");

        const QString unchanged = QStringLiteral("as typed");
        QTest::newRow("inputs 2.5 halves to even") << RowField::Inputs << "2.5" << 2 << "" << unchanged;
        QTest::newRow("inputs 12abc") << RowField::Inputs << "12abc" << 11 << "" << unchanged;
        QTest::newRow("inputs 0") << RowField::Inputs << "0" << 15 << "Data Error: Input count out of range" << "16";
        QTest::newRow("inputs 32768 fits 16 bits") << RowField::Inputs << "32768" << 15
                                                   << "Data Error: Input count out of range" << "16";
        QTest::newRow("inputs 32769 overflows") << RowField::Inputs << "32769" << 15
                                                << "Function txtInputs_LostFocus: Error: Overflow" << "16";
        QTest::newRow("outputs 2.5 refills") << RowField::Outputs << "2.5" << 2 << "" << "3";
        QTest::newRow("outputs 1e9 overflows") << RowField::Outputs << "1e9" << 15
                                               << "Function txtOutputs_LostFocus: Error: Overflow" << "16";
        QTest::newRow("first input 112") << RowField::MInput << "112" << 111 << "" << unchanged;
        QTest::newRow("first input 113") << RowField::MInput << "113" << 0 << "Data Error: MatIn out of range"
                                         << "1";
        QTest::newRow("first output 0") << RowField::MOutput << "0" << 0 << "Data Error: MatOut out of range"
                                        << "1";
    }

    void fieldEdits()
    {
        QFETCH(RowField, field);
        QFETCH(QString, text);
        QFETCH(QString, box);
        QFETCH(QString, shown);
        ConfigRig rig({0});
        ConfigRules &rules = rig.open();
        rules.btnAdvanced_Click(true);
        QSignalSpy restored(&rules, &ConfigRules::fieldRestored);
        QSignalSpy refilled(&rules, &ConfigRules::rowsRefilled);

        rig.edit(field, 0, text);

        clsRouter &router = *ConfigRig::global(0);
        const int values[] = {router.InputCount(), router.OutputCount(), router.mapIn(), router.mapOut()};
        QTEST(values[int(field)], "stored");
        QCOMPARE(rig.dialogs.lines(), box.isEmpty() ? QStringList() : QStringList{box});
        // What the field shows afterwards: the typed text, the value put back, or the refilled row.
        const bool putBack = !restored.isEmpty() || !refilled.isEmpty();
        QCOMPARE(putBack ? rules.fieldText(field, 0) : QStringLiteral("as typed"), shown);
        QVERIFY(!router.wasError());
    }

    void fieldEditAppliesOnlyWhileFocused_data()
    {
        QTest::addColumn<int>("interruption");
        QTest::newRow("scroll") << 0;
        QTest::newRow("count") << 1;
        QTest::newRow("advanced") << 2;
        QTest::newRow("OK") << 3;
        QTest::newRow("Cancel") << 4;
    }

    void fieldEditAppliesOnlyWhileFocused()
    {
        QFETCH(int, interruption);
        ConfigRig rig({0, 1, 2, 3, 4});
        ConfigRules &rules = rig.open();
        rules.rowFieldGotFocus();
        switch (interruption) {
        case 0:
            rules.VScroll_Change(0);
            break;
        case 1:
            rules.cboRouterCount_Click(5);
            break;
        case 2:
            rules.btnAdvanced_Click(true);
            break;
        case 3:
            QVERIFY(!rules.btnOK_Click(-1, QStringLiteral("3")));
            break;
        default:
            rules.btnCancel_Click();
        }
        QVERIFY(!rules.FieldFocused());
        rules.rowFieldLostFocus(RowField::Inputs, 0, QStringLiteral("4"));
        QCOMPARE(ConfigRig::global(0)->InputCount(), 15);

        // Never focused: nothing applies either.
        ConfigRig unfocused({0});
        unfocused.open().rowFieldLostFocus(RowField::Inputs, 0, QStringLiteral("4"));
        QCOMPARE(ConfigRig::global(0)->InputCount(), 15);
    }

    void okChecks_data()
    {
        QTest::addColumn<int>("comIndex");
        QTest::addColumn<QString>("timeout");
        QTest::addColumn<QString>("refusal");

        const QString timeoutRange = QStringLiteral("Router Timeout must be between .01 and 60 seconds");
        QTest::newRow("no port chosen") << -1 << "3" << "Please set the COM port to something";
        QTest::newRow("timeout 60") << 0 << "60" << "";
        QTest::newRow("timeout 60.5") << 0 << "60.5" << timeoutRange;
        QTest::newRow("timeout 0") << 0 << "0" << timeoutRange;
        QTest::newRow("timeout 0.005") << 0 << "0.005" << "";
        QTest::newRow("timeout 1e40 beyond a Single") << 0 << "1e40" << timeoutRange;
        QTest::newRow("port checked first") << -1 << "abc" << "Please set the COM port to something";
    }

    void okChecks()
    {
        QFETCH(int, comIndex);
        QFETCH(QString, timeout);
        QFETCH(QString, refusal);
        ConfigRig rig({0});
        ConfigRules &rules = rig.open();
        const bool committed = rules.btnOK_Click(comIndex, timeout);
        QCOMPARE(committed, refusal.isEmpty());
        QCOMPARE(rig.dialogs.lines(), refusal.isEmpty() ? QStringList() : QStringList{ProductTitle + refusal});
        QCOMPARE(Globals().ConfigLoaded, committed);
        QCOMPARE(Globals().RouterTimeout, committed ? ConfigRules::ConvertToSingle(timeout) : 3.0f);
    }

    void okRouterChecks_data()
    {
        QTest::addColumn<int>("setup");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("one input, one output passes") << 0 << "";
        QTest::newRow("typed new router, outputs before inputs") << 1 << "Router 2 has an output count of zero";
        QTest::newRow("no type") << 2 << "Router 2 has no router type selected";
        QTest::newRow("no inputs") << 3 << "Router 2 has an input count of zero";
        QTest::newRow("overlap by hand")
            << 4 << "Router 1 has mapped output(s) overlapping Router 0. Set the range to unused area.";
        // The offset was set before the count was raised: outputs 100 to 226.
        QTest::newRow("outputs past the matrix")
            << 5 << "Function btnOK_Click: Error: Router 1 has mapped output(s) running past the last matrix output";
    }

    void okRouterChecks()
    {
        QFETCH(int, setup);
        QFETCH(QString, refusal);
        ConfigRig rig({0, 1}, 16);
        if (setup == 5) {
            ConfigRig::global(1)->setMapOut(100);
            ConfigRig::global(1)->setOutputCount(126);
        }
        ConfigRules &rules = rig.open();
        if (setup == 0) {
            rules.cboRouterCount_Click(1);
            rig.edit(RowField::Inputs, 0, QStringLiteral("1"));
            rig.edit(RowField::Outputs, 0, QStringLiteral("1"));
        } else if (setup == 4) {
            rules.btnAdvanced_Click(true);
            rig.edit(RowField::MOutput, 1, QStringLiteral("10"));
        } else if (setup != 5) {
            rules.cboRouterCount_Click(3);
            if (setup != 2)
                rules.cboRouter_Click(2, 1);
            if (setup == 3)
                rig.edit(RowField::Outputs, 2, QStringLiteral("4"));
        }
        QCOMPARE(rig.ok(), refusal.isEmpty());
        const QString box = refusal.startsWith(QLatin1String("Function")) ? refusal : ProductTitle + refusal;
        QCOMPARE(rig.dialogs.lines(), refusal.isEmpty() ? QStringList() : QStringList{box});
        QCOMPARE(Globals().ConfigLoaded, refusal.isEmpty());
        QCOMPARE(Globals().CommPortName, refusal.isEmpty() ? "COM1" : "COM2");
    }

    void okCommitsWithGaps()
    {
        ConfigRig rig({0, 1, 2, 3, 5});
        clsRouter *second = ConfigRig::global(1);
        ConfigRules &rules = rig.open();
        rules.cboRouterCount_Click(2);
        QVERIFY(rules.btnOK_Click(3, QStringLiteral("0.5")));
        QCOMPARE(ConfigRig::global(1), second);
        for (const int slot : {2, 3, 4, 5})
            QCOMPARE(ConfigRig::global(slot), nullptr);
        QCOMPARE(Globals().CommPortName, "COM4");
        QCOMPARE(Globals().RouterTimeout, 0.5f);
        QVERIFY(Globals().ConfigLoaded);
    }

    void cancelKeepsEditsOfExistingRouters()
    {
        ConfigRig rig({0});
        ConfigRules &rules = rig.open();
        rules.cboRouter_Click(0, 1);
        rules.ckAVSplit_Click(0, true);
        rig.edit(RowField::Inputs, 0, QStringLiteral("8"));
        rig.cancel();
        QCOMPARE(ConfigRig::global(0)->RouterType(), 1);
        QVERIFY(ConfigRig::global(0)->canSplit);
        QCOMPARE(ConfigRig::global(0)->InputCount(), 7);
        QVERIFY(!Globals().ConfigLoaded);
    }

    void handlersDoNothingWhileTheRowsAreRefilled()
    {
        ConfigRig rig({0});
        ConfigRules &rules = rig.open();
        rules.rowFieldGotFocus();
        // The dialog's own writes into the controls come back as events during a refill.
        connect(&rules, &ConfigRules::rowsRefilled, &rules, [&] {
            QCOMPARE(rules.UpdateDepth(), 1);
            rules.cboRouter_Click(0, 1);
            rules.ckAVSplit_Click(0, true);
            rules.rowFieldLostFocus(RowField::Inputs, 0, QStringLiteral("3"));
        });
        rules.btnAdvanced_Click(true);
        QCOMPARE(ConfigRig::global(0)->RouterType(), 0);
        QVERIFY(!ConfigRig::global(0)->canSplit);
        QCOMPARE(ConfigRig::global(0)->InputCount(), 15);
    }
};

QTEST_GUILESS_MAIN(TestConfigRules)
#include "tst_configrules.moc"
