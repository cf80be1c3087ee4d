#include "TestRouters.h"
#include "desktop/Fault.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"
#include "link/MacroButtons.h"
#include "link/MacroRecorder.h"
#include "support/RecordingStatusSink.h"
#include "link/RouteModule.h"
#include "link/RouteTarget.h"
#include "link/SerialLink.h"

#include <QSignalSpy>
#include <QTest>
#include <array>

using desktop::Answer;

namespace {

const QString Title = QStringLiteral("Velmora");

// Routes as {frame address, output, input, level}.
QList<RouteRecord> records(std::initializer_list<std::array<int, 4>> routes)
{
    QList<RouteRecord> result;
    for (const auto &[frameAddress, output, input, level] : routes)
        result.append(RouteRecord::pack(frameAddress, output, input, level));
    return result;
}

void record(MacroRecorder &recorder, const QList<RouteRecord> &taken)
{
    for (const RouteRecord &r : taken)
        recorder.RecordRoute(r.frameAddress(), r.output(), r.input(), r.level());
}

const QList<RouteRecord> TwoRoutes = records({{0, 1, 2, 3}, {1, 3, 4, 1}});
const QList<RouteRecord> OldRoutes = records({{1, 1, 1, 3}});

// Test double for the main window's Route: notes each call as a record.
struct RecordingRouteTarget final : RouteTarget
{
    QList<RouteRecord> routed;

    void Route(clsRouter &Router, int phyOut, int phyIn, int Level) override
    {
        routed.append(RouteRecord::pack(Router.FrameAddress(), phyOut, phyIn, Level));
    }
};

// The macro buttons over a configuration with routers at 0 and 1; no port is
// ever opened (recall goes to a recording target).
struct Panel
{
    desktop::ScriptedDialogs boxes;
    desktop::ScriptedShell shell;
    Configuration config;
    MacroBank bank;
    MacroRecorder recorder;
    RecordingStatusSink status;
    SerialLink link{config, status, QString()};
    RouteModule routes{config, bank, recorder, link, status};
    RecordingRouteTarget target;
    MacroButtons buttons{bank, recorder, routes, target};

    Panel()
    {
        addRouter(config, 0);
        addRouter(config, 1);
    }

    void assign(int index, const QString &name, const QList<RouteRecord> &macro)
    {
        bank.MacroNames[std::size_t(index)] = name;
        bank.Macros[std::size_t(index)] = macro;
        buttons.UpdateMacroButtons();
    }

    [[nodiscard]] bool idle() const
    {
        return !buttons.MacroSavePending() && !recorder.MacroRecording && !buttons.recordLabelVisible() &&
               buttons.recordCaption() == QLatin1String("Record");
    }
};

enum class Click { SavePending, WhileRecording, CtrlRename };

} // namespace

// Recording (MacroRecorder) and the macro buttons (MacroButtons).
class TestMacros : public QObject
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
        record(recorder, taken);
        QTEST(recorder.RecordedRoutes.items(), "recorded");
    }

    // The slot gets a copy; a new recording starts empty.
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
        recorder.NewRecording();
        recorder.RecordRoute(1, 2, 3, 3); // neither the route nor its key is left over
        QCOMPARE(recorder.RecordedRoutes.items(), records({{1, 2, 3, 3}}));

        QVERIFY_THROWS_EXCEPTION(desktop::Fault, recorder.SaveMacro(bank, 12));
    }

    // Record, stop, then Record again with the save pending: "No" keeps it
    // pending, "Yes" drops it and a click recalls again.
    void recordStopAndCancel()
    {
        Panel p;
        QSignalSpy started(&p.buttons, &MacroButtons::recordTimerStartRequested);
        QSignalSpy stopped(&p.buttons, &MacroButtons::recordTimerStopRequested);

        record(p.recorder, OldRoutes); // left over from an earlier recording
        p.buttons.btnRecord_Click();
        QVERIFY(p.recorder.MacroRecording);
        QCOMPARE(p.recorder.RecordedRoutes.size(), 0);
        QVERIFY(p.buttons.recordLabelVisible());
        QCOMPARE(started.size(), 1);

        p.buttons.btnRecord_Click();
        QVERIFY(!p.recorder.MacroRecording);
        QVERIFY(p.buttons.MacroSavePending());
        QCOMPARE(p.boxes.lines(), QStringList{Title + ": Next: click a macro button to save these routes"});
        QVERIFY(p.buttons.recordLabelVisible());
        QCOMPARE(stopped.size(), 1);

        p.boxes.clear();
        p.boxes.answers.enqueue(Answer::No);
        p.buttons.btnRecord_Click();
        QCOMPARE(p.boxes.shown, (QList<desktop::ScriptedDialogs::Shown>{
                                    {QStringLiteral("Overwrite Macro"),
                                     QStringLiteral("The last macro has not been saved yet. Cancel Save?"),
                                     desktop::Icon::None, desktop::Buttons::YesNo}}));
        QVERIFY(p.buttons.MacroSavePending());

        p.boxes.answers.enqueue(Answer::Yes);
        p.buttons.btnRecord_Click();
        QVERIFY(p.idle());
        QCOMPARE(stopped.size(), 3);
        p.buttons.btnMacro_Click(0); // the slot is empty: nothing happens
        QVERIFY(p.boxes.asked.isEmpty());
        QVERIFY(!p.bank.Macros[0].has_value());
    }

    // Button 2 ("Old") clicked with a save pending, while recording, or with
    // Ctrl held to rename it. A refused name changes nothing; the button's
    // own name is fine. A save puts the recording in the slot and ends it.
    void naming_data()
    {
        QTest::addColumn<Click>("click");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("beeps");
        for (const auto &[click, mode] :
             {std::pair{Click::SavePending, "pending"}, std::pair{Click::WhileRecording, "recording"},
              std::pair{Click::CtrlRename, "rename"}}) {
            QTest::addRow("%s: cancelled", mode) << click << QString() << QStringList() << 1;
            QTest::addRow("%s: unassigned", mode) << click << MacroBank::UnassignedName
                                                  << QStringList{Title + ": Please pick a more descriptive name"} << 0;
            QTest::addRow("%s: semicolon", mode)
                << click << QStringLiteral("a;b")
                << QStringList{Title + ": No semicolons (;) allowed in the macro name"} << 0;
            QTest::addRow("%s: another button's name", mode)
                << click << QStringLiteral("Taken") << QStringList{Title + ": This name is already in use."} << 0;
            QTest::addRow("%s: its own name", mode) << click << QStringLiteral("Old") << QStringList() << 0;
            QTest::addRow("%s: a new name", mode) << click << QStringLiteral("New") << QStringList() << 0;
        }
    }

    void naming()
    {
        QFETCH(Click, click);
        QFETCH(QString, answer);
        QFETCH(QStringList, shown);
        QFETCH(int, beeps);
        const bool accepted = shown.isEmpty() && beeps == 0;
        const bool rename = click == Click::CtrlRename;
        Panel p;
        p.assign(7, QStringLiteral("Taken"), {});
        p.assign(2, QStringLiteral("Old"), OldRoutes);
        if (!rename) {
            p.buttons.btnRecord_Click();
            record(p.recorder, TwoRoutes);
        }
        if (click == Click::SavePending)
            p.buttons.btnRecord_Click();
        p.boxes.clear();
        p.shell.ctrlDown = rename;

        p.boxes.inputs.enqueue(answer);
        p.buttons.btnMacro_Click(2);

        QCOMPARE(p.boxes.asked.size(), 1);
        QCOMPARE(p.boxes.proposed, QStringList{QStringLiteral("Old")});
        QCOMPARE(p.boxes.lines(), shown);
        QCOMPARE(p.boxes.beeps, beeps);
        const QString name = accepted ? answer : QStringLiteral("Old");
        QCOMPARE(p.bank.MacroNames[2], name);
        QCOMPARE(p.buttons.caption(2), name);
        QCOMPARE(*p.bank.Macros[2], accepted && !rename ? TwoRoutes : OldRoutes);
        QCOMPARE(p.buttons.MacroSavePending(), !accepted && click == Click::SavePending);
        QCOMPARE(p.recorder.MacroRecording, !accepted && click == Click::WhileRecording);
        if (accepted && !rename)
            QVERIFY(p.idle());
        QVERIFY(p.target.routed.isEmpty());
    }

    // Idle, a click replays its slot through the window's Route; an empty or
    // never saved slot does nothing; a button beyond the twelve is a trapped fault.
    void clickRecallsThroughTheRouteTarget()
    {
        Panel p;
        p.assign(6, QStringLiteral("Six"), TwoRoutes);
        p.assign(7, QStringLiteral("Seven"), {});
        for (const int index : {6, 7, 8, 12})
            p.buttons.btnMacro_Click(index);
        QCOMPARE(p.target.routed, TwoRoutes);
        QCOMPARE(p.boxes.lines(), QStringList{"Function btnMacro_Click: Error: Subscript out of range"});
        QVERIFY(p.boxes.asked.isEmpty());
        QVERIFY(p.status.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMacros)
#include "tst_macros.moc"
