#include "desktop/Fault.h"
#include "link/MacroRecorder.h"
#include "link/RouteModule.h"
#include "link/RouteTarget.h"
#include "link/SerialLink.h"
#include "panel/MacroButtons.h"
#include "support/DataRows.h"
#include "support/RecordingStatusSink.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"
#include "support/TestRouters.h"

#include <QTest>

using desktop::Answer;

namespace {

// Routes written "frameAddress.output.input.level", space separated.
QList<RouteRecord> records(const QString &routes)
{
    QList<RouteRecord> result;
    for (const QString &route : routes.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList f = route.split(u'.');
        result.append(RouteRecord::pack(f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].toInt()));
    }
    return result;
}

void record(MacroRecorder &recorder, const QList<RouteRecord> &taken)
{
    for (const RouteRecord &r : taken)
        recorder.RecordRoute(r.frameAddress(), r.output(), r.input(), r.level());
}

const QList<RouteRecord> TwoRoutes = records("0.1.2.3 1.3.4.1");
const QList<RouteRecord> OldRoutes = records("1.1.1.3");

// Test double for the panel's Route: counts the calls (what a replay sends
// is the route execution test's).
struct CountingRouteTarget final : RouteTarget
{
    int routed = 0;

    void Route(clsRouter &, int, int, int) override { ++routed; }
};

// The macro buttons over routers 0 and 1, button 2 named "Old" with one
// route and button 7 "Taken"; the recorder holds a route left over from an
// earlier recording. No port is ever opened (recall goes to a recording target).
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
    CountingRouteTarget target;
    MacroButtons buttons{bank, recorder, routes, target};

    Panel()
    {
        addRouter(config, 0);
        addRouter(config, 1);
        bank.MacroNames[7] = QStringLiteral("Taken");
        bank.Macros[7] = QList<RouteRecord>{};
        bank.MacroNames[2] = QStringLiteral("Old");
        bank.Macros[2] = OldRoutes;
        buttons.UpdateMacroButtons();
        record(recorder, OldRoutes);
    }

    // "rec" (":Yes"/":No" answering its question), "take" (two routes
    // recorded), "click:N" (button N clicked), "save:NAME" or "ctrl:NAME"
    // (button 2 clicked, Ctrl held for "ctrl", NAME typed). The boxes are
    // those of the step.
    void step(const QString &step)
    {
        const QString argument = step.section(u':', 1);
        boxes.clear();
        if (step.startsWith(QLatin1String("rec"))) {
            if (!argument.isEmpty())
                boxes.answers.enqueue(argument == QLatin1String("No") ? Answer::No : Answer::Yes);
            buttons.btnRecord_Click();
        } else if (step == QLatin1String("take")) {
            record(recorder, TwoRoutes);
        } else if (step.startsWith(QLatin1String("click"))) {
            buttons.btnMacro_Click(argument.toInt());
        } else {
            shell.ctrlDown = step.startsWith(QLatin1String("ctrl"));
            boxes.inputs.enqueue(argument);
            buttons.btnMacro_Click(2);
        }
    }

    // "idle 'Record' label=0 rec=1 Old:1": mode, record button caption, record
    // label shown, routes recorded, button 2's name and caption and its
    // routes; "routed=N" when N routes went to the window's Route.
    [[nodiscard]] QString state() const
    {
        const char *mode = recorder.MacroRecording ? "recording" : buttons.MacroSavePending() ? "pending" : "idle";
        QString name = bank.MacroNames[2];
        if (buttons.caption(2) != name)
            name += QStringLiteral("/caption ") + buttons.caption(2);
        const QString routed = target.routed ? QStringLiteral(" routed=%1").arg(target.routed) : QString();
        return QStringLiteral("%1 '%2' label=%3 rec=%4 %5:%6%7")
            .arg(QLatin1String(mode), buttons.recordCaption(), QString::number(int(buttons.recordLabelVisible())),
                 QString::number(recorder.RecordedRoutes.size()), name, QString::number(bank.Macros[2]->size()),
                 routed);
    }
};

} // namespace

// Recording (MacroRecorder) and the macro buttons (MacroButtons).
class TestMacros : public QObject
{
    Q_OBJECT

private slots:
    // The same crosspoint again moves to the end with its new level; another
    // input or router is another route. The slot gets a copy; a new
    // recording starts empty.
    void recording()
    {
        MacroBank bank;
        MacroRecorder recorder;
        recorder.SaveMacro(bank, 4);
        QVERIFY(bank.Macros[4] && bank.Macros[4]->isEmpty()); // saved with no routes: not an empty slot
        record(recorder, records("0.5.2.1 0.6.1.3 0.5.2.3 0.5.7.3 1.5.2.3"));
        const QList<RouteRecord> recorded = records("0.6.1.3 0.5.2.3 0.5.7.3 1.5.2.3");
        QCOMPARE(recorder.RecordedRoutes.items(), recorded);
        recorder.SaveMacro(bank, 4);
        recorder.RecordRoute(1, 4, 4, 3);
        QCOMPARE(*bank.Macros[4], recorded);
        recorder.NewRecording();
        recorder.RecordRoute(0, 5, 2, 3); // neither the route nor its key is left over
        QCOMPARE(recorder.RecordedRoutes.items(), records("0.5.2.3"));
        QVERIFY_THROWS_EXCEPTION(desktop::Fault, recorder.SaveMacro(bank, 12));
    }

    // Steps with the record button and the macro buttons: the boxes of the last
    // step ("beep" for a cancelled name) and the state after. Stopping asks
    // for a button; with a save pending, Record asks to cancel it. A name is
    // refused (nothing changes) or accepted: a save puts the recording in the
    // slot and ends it; Ctrl renames. The button's own name is fine.
    void buttons_data()
    {
        columns<QString, QString, QString>({"steps", "box", "state"});
        const QString cancel =
            QStringLiteral("Overwrite Macro: The last macro has not been saved yet. Cancel Save? [Yes/No]");
        const QString pending = QStringLiteral("pending 'Cancel Save' label=1 rec=2 Old:1");
        // clang-format off
        QTest::newRow("record") << "rec" << "" << "recording 'Save Macro' label=1 rec=0 Old:1";
        QTest::newRow("stop") << "rec,take,rec" << "Velmora: Next: click a macro button to save these routes" << pending;
        QTest::newRow("cancel refused") << "rec,take,rec,rec:No" << cancel << pending;
        QTest::newRow("cancelled") << "rec,take,rec,rec:Yes" << cancel << "idle 'Record' label=0 rec=2 Old:1";
        QTest::newRow("pending: no name") << "rec,take,rec,save:" << "beep" << pending;
        QTest::newRow("pending: unassigned") << "rec,take,rec,save:" + MacroBank::UnassignedName << "Velmora: Please pick a more descriptive name" << pending;
        QTest::newRow("pending: semicolon") << "rec,take,rec,save:a;b" << "Velmora: No semicolons (;) allowed in the macro name" << pending;
        QTest::newRow("pending: another button's name") << "rec,take,rec,save:Taken" << "Velmora: This name is already in use." << pending;
        QTest::newRow("pending: its own name") << "rec,take,rec,save:Old" << "" << "idle 'Record' label=0 rec=2 Old:2";
        QTest::newRow("recording: saved") << "rec,take,save:New" << "" << "idle 'Record' label=0 rec=2 New:2";
        QTest::newRow("rename: no name") << "ctrl:" << "beep" << "idle 'Record Macro' label=0 rec=1 Old:1";
        QTest::newRow("rename: blanks trimmed") << "ctrl: \u202eNew  " << "" << "idle 'Record Macro' label=0 rec=1 New:1";
        QTest::newRow("rename: all blanks is no name") << "ctrl:   " << "beep" << "idle 'Record Macro' label=0 rec=1 Old:1";
        // Idle, a click replays its slot through the window's Route; an empty
        // or never saved slot does nothing; a button beyond the twelve is a trapped fault.
        QTest::newRow("recall") << "click:2,click:7,click:8,click:12" << "Function btnMacro_Click: Error: Subscript out of range" << "idle 'Record Macro' label=0 rec=1 Old:1 routed=1";
        // clang-format on
    }

    void buttons()
    {
        QFETCH(QString, steps);
        Panel p;
        for (const QString &step : steps.split(u','))
            p.step(step);
        QString box = p.boxes.beeps ? QStringLiteral("beep") : QString();
        for (const auto &shown : p.boxes.shown)
            box += shown.title + ": " + shown.text + (shown.buttons == desktop::Buttons::YesNo ? " [Yes/No]" : "");
        QTEST(box, "box");
        QTEST(p.state(), "state");
        // An input box proposes the button's name.
        QVERIFY(p.boxes.proposed.isEmpty() || p.boxes.proposed == QStringList{"Old"});
        QVERIFY(p.status.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMacros)
#include "tst_macros.moc"
