#include "paneldoor/PanelDoor.h"
#include "remote/control/ControlPort.h"
#include "remote/videohub/VideohubServer.h"
#include "support/ControlAnswer.h"
#include "support/PanelRig.h"
#include "support/VideohubPeer.h"

#include <QTest>

// The Videohub server wired to a running panel without a window, its line on
// velmora-routersim: router 0 (4 x 4) at matrix output 1, router 1 (2 x 2,
// refusing every route) at matrix output 7, matrix outputs 5 and 6 unserved.
// The protocol's rules are checked in process, against a panel in memory.

using namespace videohub;

namespace {

const QHostAddress B(QStringLiteral("127.0.0.2"));

// Headers of the blocks a client is pushed, each block {header, lines...}.
const QString Routing = QStringLiteral("VIDEO OUTPUT ROUTING:");
const QString Locks = QStringLiteral("VIDEO OUTPUT LOCKS:");
const QStringList Ack{QStringLiteral("ACK")};

struct ServerRig : PanelRig
{
    std::unique_ptr<ControlPort> control;
    std::unique_ptr<VideohubServer> server;

    // answer0: how router 0 answers (router 1 refuses every route); starting:
    // the set-up is in place but the start-up has not finished.
    explicit ServerRig(const QString &answer0 = QStringLiteral("ack"), bool starting = false)
    {
        useRouters([](Configuration &config) {
            addRouter(config, 0, 3, 3);
            addRouter(config.Routers, 1, 1, 1, 0, 6);
            config.ConfigFilePath = QStringLiteral("/shows/Studio A.rcf");
            config.RouterTimeout = 0.5f;
        });
        const bool simulating = startSim({"--no-pacing", "--answer", "0=" + answer0, "--answer", "1=code:21"});
        build();
        control = std::make_unique<ControlPort>(*door, *panel);
        control->listen();
        VideohubOptions options;
        options.port = 0;
        server = std::make_unique<VideohubServer>(*door, options);
        ready = simulating && server->listen();
        if (starting) {
            runSetup();
            panel->ReturnFromConfig();
        } else {
            panel->Form_Load([this] { runSetup(); });
        }
    }

    // A client past its dump.
    std::unique_ptr<VideohubPeer> connect(const QHostAddress &from = QHostAddress::LocalHost)
    {
        return VideohubPeer::pastDump(server->port(), from);
    }

    bool ready = false;
};

} // namespace

class TestVideohubWiring : public QObject
{
    Q_OBJECT

private slots:
    // Clients' routes, names and locks, through the running panel.
    void clientsDriveThePanel()
    {
        ServerRig rig;
        QVERIFY(rig.ready);
        auto peer = rig.connect();
        // A client's routes go on the line on both levels and are pushed, a
        // refused one changing nothing; clicks are pushed the same way (the
        // control port's: the line-order row), and the activity log names who
        // routed.
        peer->send("VIDEO OUTPUT ROUTING:\n3 1\n0 2\n6 1\n6 3\n\n");
        QCOMPARE(peer->next(3), (QList<QStringList>{Ack, {Routing, "3 1"}, {Routing, "0 2"}}));
        QVERIFY(rig.sim.waitForFrames(3));
        QCOMPARE(rig.routes(true),
                 (QStringList{route(0, 1, 3, "ack"), route(0, 2, 0, "ack"), route(1, 1, 0, "refused:21")}));
        rig.panel->takes().cellClick(3 * 16 + 2);
        QCOMPARE(peer->next(1), (QList<QStringList>{{Routing, "2 3"}}));
        const QStringList log = rig.log().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(log.size(), 5);
        // The line's time and layout: the activity log's test.
        QVERIFY(log[0].contains(
            QRegularExpression("\tvideohub 127\\.0\\.0\\.1:\\d+\troute output=4 \"Out 04\" input=2 "
                               "\"In 02\" frame=0 router-output=3 router-input=1 level=both result=ok$")));
        QVERIFY(log[2].endsWith("frame=1 router-output=0 router-input=1 level=both result=Router returned 21"));
        // An input the output's router lacks is logged as asked.
        QVERIFY(log[3].endsWith("input=4 \"In 04\" frame=1 router-output=0 router-input=- level=both "
                                "result=Unassigned crosspoint"));
        QVERIFY(log[4].contains("\tpanel\troute output=3 "));

        // Names go through the panel's rules ("!" for a duplicate within a
        // router) and are pushed as stored; the panel's own edits too. A
        // client connecting later is shown the panel's names and route state.
        peer->send("INPUT LABELS:\n0 Cam A\n1 Cam A\n\n");
        QCOMPARE(peer->next(2), (QList<QStringList>{Ack, {"INPUT LABELS:", "0 Cam A", "1 !Cam A"}}));
        QCOMPARE(rig.panel->names().txtOut_LostFocus(6, QStringLiteral("Monitor")), QStringLiteral("Monitor"));
        QCOMPARE(peer->next(1), (QList<QStringList>{{"OUTPUT LABELS:", "6 Monitor"}}));
        QVERIFY(rig.log().contains(
            QRegularExpression("\tvideohub 127\\.0\\.0\\.1:\\d+\tlabel input=2 old=\"In 02\" new=\"!Cam A\"\n")));

        VideohubPeer late(rig.server->port());
        const QList<QStringList> dump = late.next(VideohubPeer::DumpBlocks);
        QVERIFY(dump[1].contains("Friendly name: Studio A.rcf"));
        QCOMPARE(dump[3], (QStringList{"OUTPUT LABELS:", "0 Out 01", "1 Out 02", "2 Out 03", "3 Out 04", "4 -", "5 -",
                                       "6 Monitor", "7 Out 02"}));
        QCOMPARE(dump[5], (QStringList{Routing, "0 2", "2 3", "3 1"}));

        // A client's lock guards the output against other clients, the panel
        // and the control port (status message naming the owner; a macro goes
        // on); the window's Unlock frees it for everyone. Every change is logged.
        rig.panel->macroBank().Macros[0] =
            QList<RouteRecord>{RouteRecord::pack(0, 1, 0, 3), RouteRecord::pack(0, 2, 0, 3)};
        auto b = rig.connect(B);
        peer->send("VIDEO OUTPUT LOCKS:\n1 O\n\n");
        QCOMPARE(b->next(1), (QList<QStringList>{{Locks, "1 L"}}));
        b->send("VIDEO OUTPUT ROUTING:\n1 0\n\nPING:\n\n");
        QCOMPARE(b->next(2), (QList<QStringList>{Ack, Ack}));
        const QString locked = QStringLiteral("Output 2 \"Out 02\" is locked by 127.0.0.1");
        QCOMPARE(controlAnswer("route 0 1 0\n"), QStringLiteral("error ") + locked);
        QCOMPARE(rig.panel->statusLine().text(), locked);
        QCOMPARE(controlAnswer("macro 0\n"), QStringLiteral("error ") + locked);
        QCOMPARE(rig.routes().mid(4), QStringList{route(0, 0, 2)});
        QCOMPARE(b->next(1), (QList<QStringList>{{Routing, "2 0"}}));

        b->send("VIDEO OUTPUT LOCKS:\n1 F\n2 O\n\n");
        QCOMPARE(b->next(2), (QList<QStringList>{Ack, {Locks, "1 U", "2 O"}}));
        rig.panel->unlockOutput(2);
        QCOMPARE(b->next(1), (QList<QStringList>{{Locks, "2 U"}}));
        QVERIFY(rig.log().contains("lock output=2 \"Out 02\" action=force-unlock owner=127.0.0.1 result=ok"));
        QVERIFY(rig.log().contains("\tpanel\tlock output=3 \"Out 03\" action=panel-unlock owner=127.0.0.2 result=ok"));
    }

    // Until the start-up dialog closes, a client's route is refused as the
    // control port's is: nothing on the line, the status line says why, the
    // client is told the output's source unchanged. Then routes are logged
    // and pushed in the order they reached the router, also when one was
    // taken while another waited for its reply. The panel then closes while
    // routes wait for their replies and in queue: they end without a crash,
    // the server still answers.
    void routesAreToldInLineOrder()
    {
        ServerRig rig(QStringLiteral("ack@200"), true);
        QVERIFY(rig.ready);
        auto peer = rig.connect();
        rig.stateOf(0, 0).setVideo(2);
        peer->send("VIDEO OUTPUT ROUTING:\n0 1\n\n");
        QCOMPARE(peer->next(2), (QList<QStringList>{Ack, {Routing, "0 2"}}));
        QTRY_COMPARE(rig.panel->statusLine().text(), PanelDoor::StartingUpMessage);
        QCOMPARE(rig.sim.frames().size(), 0);
        rig.panel->Form_Load([&rig] { rig.runSetup(); });
        // A fresh client, past the dump of the set-up now started.
        peer = rig.connect();
        // Sent while the control port's route waits for its reply.
        QObject::connect(
            &rig.sim, &RouterSim::frameLogged, &rig.sim, [&] { peer->send("VIDEO OUTPUT ROUTING:\n1 2\n\n"); },
            Qt::SingleShotConnection);
        QCOMPARE(controlAnswer("route 0 1 0\n"), QStringLiteral("ok"));
        QCOMPARE(peer->next(3), (QList<QStringList>{Ack, {Routing, "1 0"}, {Routing, "1 2"}}));
        const QStringList log = rig.log().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(log.size(), 2);
        QVERIFY(log[0].contains("\tcontrol\troute output=2 \"Out 02\" input=1 "));
        QVERIFY(log[1].contains("\troute output=2 \"Out 02\" input=3 "));
        QCOMPARE(rig.stateOf(0, 1).Video(), 2);

        // The routing block's ACK and the ping's; pushes of routes already
        // acknowledged may come before, between or after them.
        const qsizetype before = peer->blocks().size();
        const auto acks = [&] { return peer->blocks().mid(before).count(Ack); };
        peer->send("VIDEO OUTPUT ROUTING:\n0 0\n1 0\n2 1\n3 1\n\n");
        QVERIFY(rig.sim.waitForFrames(3));
        rig.panel->Form_Unload();
        peer->send("PING:\n\n");
        QTRY_COMPARE_WITH_TIMEOUT(acks(), 2, 20000);
        rig.server.reset();
        rig.panel.reset();
    }
};

QTEST_GUILESS_MAIN(TestVideohubWiring)
#include "tst_videohubwiring.moc"
