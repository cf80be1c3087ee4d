#include "link/RouteTarget.h"
#include "support/LinkRig.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

namespace {

// "ack redraw=3", "failed Unassigned crosspoint": the verdict, the column
// to redraw, the failure the status line was given.
QString text(const TakeOutcome &outcome)
{
    QString result = QLatin1String(outcome.acknowledged ? "ack" : "failed");
    if (outcome.redrawColumn)
        result += QStringLiteral(" redraw=%1").arg(*outcome.redrawColumn);
    return outcome.failure.isEmpty() ? result : result + u' ' + outcome.failure;
}

// The main window's side of a replay: Route, keeping the outcomes.
struct WindowTarget final : RouteTarget
{
    LinkRig &rig;
    QStringList outcomes;

    explicit WindowTarget(LinkRig &r) : rig(r) {}

    void Route(clsRouter &Router, int phyOut, int phyIn, int Level) override
    {
        outcomes.append(text(rig.routes.Route(rig.view, Router, phyOut, phyIn, Level)));
    }
};

} // namespace

class TestRouteExecution : public QObject
{
    Q_OBJECT

private slots:
    // Takes in a row, router 2 refusing: an unassigned crosspoint beeps and
    // sends nothing; a column in view is redrawn unless the router refused.
    // Before a configuration is loaded a route is neither recorded nor sent.
    void takeRoute()
    {
        desktop::ScriptedDialogs boxes;
        LinkRig rig;
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "2=code:21"}));
        rig.config.ConfigLoaded = false;
        rig.recorder.MacroRecording = true;
        QVERIFY(rig.routes.SendRoute(0, 1, 2, 3));
        QCOMPARE(rig.status.messages, QStringList{"Please select File/Setup Current Hardware Configuration first"});
        QCOMPARE(rig.recorder.RecordedRoutes.size(), 0);
        QVERIFY(!rig.link.isOpen());
        rig.config.ConfigLoaded = true;
        // {frame address (-1: no router behind the column), output, input, view column}
        const std::array<int, 4> takes[] = {{-1, -1, 4, 5}, {0, 3, -1, 3}, {0, 16, 4, 16}, {0, 3, 16, 3},
                                            {0, 3, 4, 3},   {1, 3, 4, 19}, {2, 3, 4, 3}};
        QStringList outcomes;
        for (const auto &[frameAddress, phyOut, phyIn, matOut] : takes) {
            rig.status.messages.clear();
            const TakeOutcome taken =
                rig.routes.TakeRoute(frameAddress < 0 ? nullptr : rig.config.Routers[std::size_t(frameAddress)].get(),
                                     phyOut, phyIn, matOut, 3);
            QCOMPARE(rig.status.messages.join(u'|'), taken.failure);
            outcomes << text(taken);
        }
        const QString unassigned = QStringLiteral("Unassigned crosspoint");
        QCOMPARE(outcomes,
                 (QStringList{"failed redraw=5 " + unassigned, "failed redraw=3 " + unassigned, "failed " + unassigned,
                              "failed redraw=3 " + unassigned, "ack redraw=3", "ack", "failed Router returned 21"}));
        QCOMPARE(boxes.beeps, 4);
        QVERIFY(rig.sim.waitForFrames(3));
        QCOMPARE(rig.sim.wire(),
                 (QStringList{"BE EF 00 00 00 04 03 56", "BE EF 01 00 00 04 03 57", "BE EF 02 00 00 04 03 54"}));
    }

    // Router 1 refuses, 2 is silent, 9 is missing, output 40 is beyond router
    // 0. A macro load during a reply wait replaces the bank: the replay goes
    // on with the routes it started with.
    void replayGoesOnAfterFailures()
    {
        desktop::ScriptedDialogs boxes;
        LinkRig rig;
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "1=code:21", "--answer", "2=silent"}));
        rig.bank.Macros[0] = QList<RouteRecord>{
            RouteRecord::pack(0, 1, 2, 3), RouteRecord::pack(1, 0, 0, 3),  RouteRecord::pack(9, 0, 0, 3),
            RouteRecord::pack(2, 0, 0, 3), RouteRecord::pack(0, 40, 0, 3), RouteRecord::pack(3, 2, 3, 2),
        };
        connect(&rig.sim, &RouterSim::frameLogged, &rig.sim, [&] { rig.bank = MacroBank{}; });
        WindowTarget window(rig);
        rig.routes.RecallMacro(0, window);
        QVERIFY(rig.sim.waitForFrames(4));
        QCOMPARE(rig.sim.wire(), (QStringList{"BE EF 00 00 00 02 01 52", "BE EF 01 00 00 00 00 50",
                                              "BE EF 02 00 00 00 00 53", "BE EF 03 00 00 03 02 53"}));
        // Output 50 of the matrix (router 3's output 2) is scrolled away: no redraw.
        QCOMPARE(window.outcomes,
                 (QStringList{"ack redraw=1", "failed Router returned 21", "failed No reply from the router",
                              "failed Unassigned crosspoint", "ack"}));
        QCOMPARE(rig.status.messages.at(1), "No router at frame address 9");
        QCOMPARE(boxes.beeps, 1);
        QCOMPARE(rig.state(0, 1) + u' ' + rig.state(3, 2), "2/2 -1/3");
    }

    // Routes started during another's slow reply go on the line after it,
    // each judged by its own reply. The router ends on the later input to
    // the same output, and so must the route state, although the first
    // route's caller learns its verdict last.
    void nestedRoutesDuringAWait()
    {
        LinkRig rig;
        rig.config.RouterTimeout = 2;
        QVERIFY(rig.startSim({"--answer", "0=ack@300", "--answer", "1=code:21"}));
        clsRouter &router = *rig.config.Routers[0];
        QList<bool> nestedFailed;
        connect(&rig.sim, &RouterSim::frameLogged, &rig.sim, [&] {
            if (rig.sim.frames().size() == 1)
                nestedFailed << rig.routes.RouteCrosspoint(*rig.config.Routers[1], 1, 1, 3)
                             << rig.routes.RouteCrosspoint(router, 0, 2, 3);
        });
        QVERIFY(!rig.routes.RouteCrosspoint(router, 0, 1, 3));
        QCOMPARE(nestedFailed, (QList<bool>{true, false}));
        QCOMPARE(rig.status.messages, QStringList{"Router returned 21"});
        QVERIFY(rig.sim.waitForFrames(3));
        QCOMPARE(rig.sim.wire().join(u'|'), "BE EF 00 00 00 01 00 50|BE EF 01 00 00 01 01 50|BE EF 00 00 00 02 00 53");
        QCOMPARE(rig.state(0, 0), "2/2");
    }

    // The configuration dialog (or a load) can change the set-up while a
    // route waits for its reply; the late acknowledgement must land
    // harmlessly, never in the router's new states.
    void lateAcknowledgementAfterTheSetUpChanged_data()
    {
        QTest::addColumn<int>("change");
        QTest::newRow("output count lowered below the output") << 0;
        QTest::newRow("router dropped") << 1;
        QTest::newRow("router replaced") << 2;
    }

    void lateAcknowledgementAfterTheSetUpChanged()
    {
        QFETCH(int, change);
        LinkRig rig;
        rig.config.RouterTimeout = 2;
        QVERIFY(rig.startSim({"--answer", "0=ack@200"}));
        auto &slot = rig.config.Routers[0];
        connect(&rig.sim, &RouterSim::frameLogged, &rig.sim, [&] {
            if (change == 0)
                slot->setOutputCount(3);
            else if (change == 1)
                slot.reset();
            else
                addRouter(rig.config, 0);
        });
        QVERIFY(!rig.routes.RouteCrosspoint(*slot, 10, 1, 3));
        if (slot) {
            slot->setOutputCount(15);
            QCOMPARE(rig.state(0, 10), "-1/-1");
        }
    }
};

QTEST_GUILESS_MAIN(TestRouteExecution)
#include "tst_routeexecution.moc"
