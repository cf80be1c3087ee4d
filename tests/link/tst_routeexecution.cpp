#include "LinkRig.h"
#include "support/ScriptedDialogs.h"
#include "link/RouteTarget.h"
#include "model/MatrixView.h"

#include <QTest>

namespace {

const QString NoReply = QStringLiteral("No reply from the router");
const QString Unassigned = QStringLiteral("Unassigned crosspoint");
const QString Marker = QStringLiteral("BE EF 03 00 00 0F 0F 52");

// Routers 0 to 3 side by side on the matrix (16 ports each), viewed from
// output 0 as the main window would.
struct RouteRig : LinkRig
{
    MatrixTables tables;
    MatrixView view{tables, config.Routers};

    RouteRig()
    {
        for (int frameAddress = 0; frameAddress < 4; ++frameAddress) {
            config.Routers[std::size_t(frameAddress)]->setMapIn(frameAddress * 16);
            config.Routers[std::size_t(frameAddress)]->setMapOut(frameAddress * 16);
        }
        SizeMatrix(tables, config.Routers);
    }

    clsRouteState &state(int frameAddress, int phyOut)
    {
        return config.Routers[std::size_t(frameAddress)]->RouteState(phyOut);
    }

    // A route nothing else sends, to see what went on the line before it.
    void sendMarker()
    {
        QVERIFY(!routes.SendRoute(3, 15, 15, 3));
        QTRY_VERIFY(sim.wire().contains(Marker));
    }
};

// The main window's side of a replay: Route, keeping the outcomes.
struct WindowTarget final : RouteTarget
{
    RouteRig &rig;
    QList<TakeOutcome> outcomes;

    explicit WindowTarget(RouteRig &r) : rig(r) {}

    void Route(clsRouter &Router, int phyOut, int phyIn, int Level) override
    {
        outcomes.append(rig.routes.Route(rig.view, Router, phyOut, phyIn, Level));
    }
};

} // namespace

class TestRouteExecution : public QObject
{
    Q_OBJECT

private slots:
    void withoutConfigurationNothingIsRecordedOrSent()
    {
        RouteRig rig;
        QVERIFY(rig.startSim({"--no-pacing"}));
        rig.config.ConfigLoaded = false;
        rig.recorder.MacroRecording = true;
        QVERIFY(rig.routes.SendRoute(0, 1, 2, 3));
        QCOMPARE(rig.status.messages, QStringList{"Please select File/Setup Current Hardware Configuration first"});
        QCOMPARE(rig.recorder.RecordedRoutes.size(), 0);
        QVERIFY(!rig.link.isOpen());

        rig.config.ConfigLoaded = true;
        rig.sendMarker();
        QCOMPARE(rig.sim.wire(), QStringList{Marker});
    }

    void takeRoute_data()
    {
        QTest::addColumn<int>("frameAddress"); // -1: no router behind the column
        QTest::addColumn<int>("phyOut");
        QTest::addColumn<int>("phyIn");
        QTest::addColumn<int>("matOut");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<bool>("acknowledged");
        QTest::addColumn<int>("redraw"); // -1: none
        QTest::newRow("acknowledged on screen") << 0 << 3 << 4 << 3 << true << true << 3;
        QTest::newRow("acknowledged off screen") << 1 << 3 << 4 << 19 << true << true << -1;
        QTest::newRow("refused") << 2 << 3 << 4 << 3 << true << false << -1;
        QTest::newRow("no router") << -1 << -1 << 4 << 5 << false << false << 5;
        QTest::newRow("no input") << 0 << 3 << -1 << 3 << false << false << 3;
        QTest::newRow("output beyond the router") << 0 << 16 << 4 << 16 << false << false << -1;
        QTest::newRow("input beyond the router") << 0 << 3 << 16 << 3 << false << false << 3;
    }

    void takeRoute()
    {
        QFETCH(int, frameAddress);
        QFETCH(int, phyOut);
        QFETCH(int, phyIn);
        QFETCH(int, matOut);
        QFETCH(bool, sent);
        QFETCH(bool, acknowledged);
        QFETCH(int, redraw);
        desktop::ScriptedDialogs boxes;
        RouteRig rig;
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "2=code:21"}));
        clsRouter *router = frameAddress < 0 ? nullptr : rig.config.Routers[std::size_t(frameAddress)].get();

        const TakeOutcome outcome = rig.routes.TakeRoute(router, phyOut, phyIn, matOut, 3);
        QCOMPARE(outcome.acknowledged, acknowledged);
        QCOMPARE(outcome.redrawColumn, redraw < 0 ? std::nullopt : std::optional<int>(redraw));
        QCOMPARE(boxes.beeps, sent ? 0 : 1);
        if (!sent)
            QCOMPARE(rig.status.messages, QStringList{Unassigned});
        rig.sendMarker();
        QCOMPARE(rig.sim.frames().size(), sent ? 2 : 1);
    }

    void replayGoesOnAfterFailures()
    {
        desktop::ScriptedDialogs boxes;
        RouteRig rig;
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "1=code:21", "--answer", "2=silent"}));
        rig.bank.Macros[0] = QList<RouteRecord>{
            RouteRecord::pack(0, 1, 2, 3), RouteRecord::pack(1, 0, 0, 3),  RouteRecord::pack(9, 0, 0, 3),
            RouteRecord::pack(2, 0, 0, 3), RouteRecord::pack(0, 40, 0, 3), RouteRecord::pack(3, 2, 3, 2),
        };
        WindowTarget window(rig);
        rig.routes.RecallMacro(0, window);
        QVERIFY(rig.sim.waitForFrames(4));

        QCOMPARE(rig.sim.wire(), (QStringList{"BE EF 00 00 00 02 01 52", "BE EF 01 00 00 00 00 50",
                                              "BE EF 02 00 00 00 00 53", "BE EF 03 00 00 03 02 53"}));
        QCOMPARE(rig.status.messages,
                 (QStringList{"Router returned 21", "No router at frame address 9", NoReply, Unassigned}));
        QCOMPARE(boxes.beeps, 1);
        QCOMPARE(window.outcomes.size(), 5);
        QCOMPARE(window.outcomes[0].redrawColumn, 1);
        QVERIFY(window.outcomes[4].acknowledged);
        QCOMPARE(window.outcomes[4].redrawColumn, std::nullopt); // output 50 of the matrix is scrolled away
        QCOMPARE(rig.state(0, 1).Video(), 2);
        QCOMPARE(rig.state(3, 2).Audio(), 3);
    }

    // The second route goes on the line after the first, so the router ends
    // on the second input and so must the route state, although the first
    // route's caller learns its verdict last.
    void nestedRouteToTheSameOutputLeavesTheLaterSource()
    {
        RouteRig rig;
        rig.config.RouterTimeout = 2;
        QVERIFY(rig.startSim({"--answer", "0=ack@300"}));
        clsRouter &router = *rig.config.Routers[0];
        connect(&rig.sim, &RouterSim::frameLogged, &rig.sim, [&] {
            if (rig.sim.frames().size() == 1)
                QVERIFY(!rig.routes.RouteCrosspoint(router, 0, 2, 3));
        });
        QVERIFY(!rig.routes.RouteCrosspoint(router, 0, 1, 3));
        QVERIFY(rig.sim.waitForFrames(2));
        QCOMPARE(rig.state(0, 0).Video(), 2);
        QCOMPARE(rig.state(0, 0).Audio(), 2);
    }

    // A macro load during a reply wait replaces the bank; the replay goes on
    // with the routes it started with.
    void macroBankReplacedDuringTheReplay()
    {
        RouteRig rig;
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "0=ack@100"}));
        rig.bank.Macros[0] = QList<RouteRecord>{RouteRecord::pack(0, 1, 2, 3), RouteRecord::pack(1, 3, 4, 3)};
        connect(&rig.sim, &RouterSim::frameLogged, &rig.sim, [&] {
            if (rig.sim.frames().size() == 1)
                rig.bank = MacroBank{};
        });
        WindowTarget window(rig);
        rig.routes.RecallMacro(0, window);
        QVERIFY(rig.sim.waitForFrames(2));
        QCOMPARE(rig.sim.wire(), (QStringList{"BE EF 00 00 00 02 01 52", "BE EF 01 00 00 04 03 57"}));
        QCOMPARE(window.outcomes.size(), 2);
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
        RouteRig rig;
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
        if (change == 1) {
            QVERIFY(!slot);
            return;
        }
        slot->setOutputCount(15);
        QCOMPARE(rig.state(0, 10).Video(), -1);
        QCOMPARE(rig.state(0, 10).Audio(), -1);
    }
};

QTEST_GUILESS_MAIN(TestRouteExecution)
#include "tst_routeexecution.moc"
