#include "RecordingRouteTarget.h"
#include "TestRouters.h"
#include "desktop/ScriptedDialogs.h"
#include "desktop/ScriptedShell.h"
#include "link/MacroButtons.h"
#include "link/MacroRecorder.h"
#include "link/RecordingStatusSink.h"
#include "link/RouteModule.h"
#include "link/SerialLink.h"

#include <QSignalSpy>
#include <QTest>

using desktop::Answer;
using desktop::ScriptedDialogs;

namespace {

const QString Title = QStringLiteral("Velmora");

// The macro buttons over a configuration with routers at 0 and 1; no port is
// ever opened (recall goes to a recording target).
struct Panel
{
    Configuration config;
    MacroBank bank;
    MacroRecorder recorder;
    RecordingStatusSink status;
    SerialLink link{config, status, QString()};
    RouteModule routes{config, bank, recorder, link, status};
    RecordingRouteTarget target;
    desktop::ScriptedShell shell;
    MacroButtons buttons{bank, recorder, routes, target};

    Panel()
    {
        addRouter(config, 0);
        addRouter(config, 1);
    }

    void recordAndStop(const QList<RouteRecord> &taken)
    {
        buttons.btnRecord_Click();
        for (const RouteRecord &r : taken)
            recorder.RecordRoute(r.frameAddress(), r.output(), r.input(), r.level());
        buttons.btnRecord_Click();
    }

    void name(int index, const QString &nm)
    {
        bank.MacroNames[std::size_t(index)] = nm;
        buttons.UpdateMacroButtons();
    }
};

const QList<RouteRecord> TwoRoutes{RouteRecord::pack(0, 1, 2, 3), RouteRecord::pack(1, 3, 4, 1)};

} // namespace

class TestMacroButtons : public QObject
{
    Q_OBJECT

private slots:
    void recordStopAndSave()
    {
        ScriptedDialogs boxes;
        Panel p;
        QCOMPARE(p.buttons.recordCaption(), QStringLiteral("Record Macro"));
        QVERIFY(!p.buttons.recordLabelVisible());
        QSignalSpy started(&p.buttons, &MacroButtons::recordTimerStartRequested);
        QSignalSpy stopped(&p.buttons, &MacroButtons::recordTimerStopRequested);

        p.recorder.RecordRoute(9, 9, 9, 3); // left over from an earlier recording
        p.buttons.btnRecord_Click();
        QVERIFY(p.recorder.MacroRecording);
        QCOMPARE(p.recorder.RecordedRoutes.size(), 0);
        QCOMPARE(p.buttons.recordCaption(), QStringLiteral("Save Macro"));
        QCOMPARE(p.buttons.recordLabelText(), QStringLiteral("Recording"));
        QVERIFY(p.buttons.recordLabelVisible());
        QCOMPARE(started.size(), 1);

        for (const RouteRecord &r : TwoRoutes)
            p.recorder.RecordRoute(r.frameAddress(), r.output(), r.input(), r.level());
        p.buttons.btnRecord_Click();
        QVERIFY(!p.recorder.MacroRecording);
        QVERIFY(p.buttons.MacroSavePending());
        QCOMPARE(boxes.lines(), QStringList{Title + ": Next: click a macro button to save these routes"});
        QCOMPARE(p.buttons.recordLabelText(), QStringLiteral("Pending Save"));
        QVERIFY(p.buttons.recordLabelVisible());
        QCOMPARE(p.buttons.recordCaption(), QStringLiteral("Cancel Save"));
        QCOMPARE(stopped.size(), 1);

        boxes.inputs.enqueue(QStringLiteral("Morning news"));
        p.buttons.btnMacro_Click(3);
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].title, QStringLiteral("Save Macro"));
        QCOMPARE(boxes.asked[0].text, QStringLiteral("Enter the name for this new macro"));
        QCOMPARE(boxes.proposed, QStringList{MacroBank::UnassignedName});
        QCOMPARE(*p.bank.Macros[3], TwoRoutes);
        QCOMPARE(p.bank.MacroNames[3], QStringLiteral("Morning news"));
        QCOMPARE(p.buttons.caption(3), QStringLiteral("Morning news"));
        QVERIFY(!p.buttons.MacroSavePending());
        QVERIFY(!p.recorder.MacroRecording);
        QVERIFY(!p.buttons.recordLabelVisible());
        QCOMPARE(p.buttons.recordCaption(), QStringLiteral("Record"));
        QVERIFY(p.target.routed.isEmpty());
    }

    void macroButtonWhileRecordingSavesAtOnce()
    {
        ScriptedDialogs boxes;
        Panel p;
        p.buttons.btnRecord_Click();
        p.recorder.RecordRoute(0, 1, 2, 3);
        boxes.inputs.enqueue(QStringLiteral("Quick"));
        p.buttons.btnMacro_Click(0);
        QCOMPARE(*p.bank.Macros[0], QList<RouteRecord>{RouteRecord::pack(0, 1, 2, 3)});
        QVERIFY(!p.recorder.MacroRecording);
        QCOMPARE(p.buttons.recordCaption(), QStringLiteral("Record"));
        QVERIFY(boxes.shown.isEmpty());
    }

    void refusedNamesChangeNothing_data()
    {
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("beeps");

        for (const bool ctrl : {false, true}) {
            const char *mode = ctrl ? "rename" : "save";
            QTest::addRow("%s: cancelled", mode) << ctrl << QString() << QStringList() << 1;
            QTest::addRow("%s: unassigned", mode) << ctrl << MacroBank::UnassignedName
                                                  << QStringList{Title + ": Please pick a more descriptive name"} << 0;
            QTest::addRow("%s: semicolon", mode)
                << ctrl << QStringLiteral("a;b") << QStringList{Title + ": No semicolons (;) allowed in the macro name"}
                << 0;
            QTest::addRow("%s: another button's name", mode)
                << ctrl << QStringLiteral("Taken") << QStringList{Title + ": This name is already in use."} << 0;
        }
    }

    void refusedNamesChangeNothing()
    {
        QFETCH(bool, ctrl);
        QFETCH(QString, answer);
        ScriptedDialogs boxes;
        Panel p;
        p.name(7, QStringLiteral("Taken"));
        p.name(2, QStringLiteral("Old"));
        p.bank.Macros[2] = QList<RouteRecord>{RouteRecord::pack(1, 1, 1, 3)};
        if (!ctrl)
            p.recordAndStop(TwoRoutes);
        boxes.clear();
        p.shell.ctrlDown = ctrl;

        boxes.inputs.enqueue(answer);
        p.buttons.btnMacro_Click(2);

        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].title, ctrl ? QStringLiteral("Rename Macro") : QStringLiteral("Save Macro"));
        QCOMPARE(boxes.proposed, QStringList{QStringLiteral("Old")});
        QTEST(boxes.lines(), "shown");
        QTEST(boxes.beeps, "beeps");
        QCOMPARE(p.bank.MacroNames[2], QStringLiteral("Old"));
        QCOMPARE(p.buttons.caption(2), QStringLiteral("Old"));
        QCOMPARE(*p.bank.Macros[2], QList<RouteRecord>{RouteRecord::pack(1, 1, 1, 3)});
        QCOMPARE(p.buttons.MacroSavePending(), !ctrl);
        QVERIFY(p.target.routed.isEmpty());
    }

    void savingOverAMacroKeepingItsNameReplacesTheRoutes()
    {
        ScriptedDialogs boxes;
        Panel p;
        p.name(5, QStringLiteral("Evening"));
        p.bank.Macros[5] = QList<RouteRecord>{RouteRecord::pack(1, 1, 1, 3)};
        p.recordAndStop(TwoRoutes);
        boxes.inputs.enqueue(QStringLiteral("Evening"));
        p.buttons.btnMacro_Click(5);
        QCOMPARE(*p.bank.Macros[5], TwoRoutes);
        QCOMPARE(p.buttons.caption(5), QStringLiteral("Evening"));
        QVERIFY(!p.buttons.MacroSavePending());
    }

    void ctrlClickRenamesWithoutTouchingRoutes()
    {
        ScriptedDialogs boxes;
        Panel p;
        p.name(1, QStringLiteral("One"));
        p.bank.Macros[1] = TwoRoutes;
        p.shell.ctrlDown = true;
        boxes.inputs.enqueue(QStringLiteral("One")); // its own name is fine
        boxes.inputs.enqueue(QStringLiteral("Uno"));
        p.buttons.btnMacro_Click(1);
        p.buttons.btnMacro_Click(1);
        QCOMPARE(boxes.asked[0].text, QStringLiteral("Enter the name for this macro"));
        QVERIFY(boxes.shown.isEmpty());
        QCOMPARE(p.bank.MacroNames[1], QStringLiteral("Uno"));
        QCOMPARE(p.buttons.caption(1), QStringLiteral("Uno"));
        QCOMPARE(*p.bank.Macros[1], TwoRoutes);
        QVERIFY(p.target.routed.isEmpty());
    }

    void cancellingAPendingSave()
    {
        ScriptedDialogs boxes;
        Panel p;
        p.recordAndStop(TwoRoutes);
        QSignalSpy stopped(&p.buttons, &MacroButtons::recordTimerStopRequested);
        boxes.clear();

        boxes.answers.enqueue(Answer::No);
        p.buttons.btnRecord_Click();
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].title, QStringLiteral("Overwrite Macro"));
        QCOMPARE(boxes.shown[0].text, QStringLiteral("The last macro has not been saved yet. Cancel Save?"));
        QCOMPARE(boxes.shown[0].buttons, desktop::Buttons::YesNo);
        QVERIFY(p.buttons.MacroSavePending());
        QCOMPARE(p.buttons.recordCaption(), QStringLiteral("Cancel Save"));

        boxes.answers.enqueue(Answer::Yes);
        p.buttons.btnRecord_Click();
        QVERIFY(!p.buttons.MacroSavePending());
        QVERIFY(!p.recorder.MacroRecording);
        QVERIFY(!p.buttons.recordLabelVisible());
        QCOMPARE(p.buttons.recordCaption(), QStringLiteral("Record"));
        QCOMPARE(stopped.size(), 2);

        // Idle again: the button recalls (the slot is empty, so nothing happens).
        p.buttons.btnMacro_Click(0);
        QVERIFY(boxes.asked.isEmpty());
        QVERIFY(!p.bank.Macros[0].has_value());
    }

    void clickRecallsThroughTheRouteTarget()
    {
        ScriptedDialogs boxes;
        Panel p;
        const QList<RouteRecord> macro{RouteRecord::pack(1, 5, 2, 3), RouteRecord::pack(4, 0, 0, 3),
                                       RouteRecord::pack(1, 5, 7, 2), RouteRecord::pack(0, 0, 1, 1)};
        p.bank.Macros[6] = macro;
        p.bank.Macros[7] = QList<RouteRecord>();
        p.buttons.btnMacro_Click(6);
        p.buttons.btnMacro_Click(7);
        p.buttons.btnMacro_Click(8);
        // The record for frame address 4 has no router: skipped, the replay goes on.
        QCOMPARE(p.target.routed, (QList<RouteRecord>{macro[0], macro[2], macro[3]}));
        QCOMPARE(p.status.messages, QStringList{QStringLiteral("No router at frame address 4")});
        QVERIFY(boxes.shown.isEmpty());
        QVERIFY(boxes.asked.isEmpty());
    }

    void faultsAreTrappedPerHandler()
    {
        ScriptedDialogs boxes;
        Panel p;
        p.buttons.btnMacro_Click(12);
        QCOMPARE(boxes.lines(), QStringList{"Function btnMacro_Click: Error: Subscript out of range"});
    }
};

QTEST_GUILESS_MAIN(TestMacroButtons)
#include "tst_macrobuttons.moc"
