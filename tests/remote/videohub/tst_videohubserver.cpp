#include "panel/PanelRig.h"
#include "remote/ControlPort.h"
#include "remote/ControlSocketName.h"
#include "remote/videohub/VideohubServer.h"
#include "support/VideohubPeer.h"

#include <QLocalSocket>
#include <QTest>

// The Videohub server on a running panel without a window, its line on
// velmora-routersim: router 0 (4 x 4) at matrix output 1, router 1 (2 x 2,
// refusing every route) at matrix output 7, matrix outputs 5 and 6 unserved.

using namespace videohub;

namespace {

const QHostAddress A(QStringLiteral("127.0.0.1"));
const QHostAddress B(QStringLiteral("127.0.0.2"));

QStringList routing(const QStringList &lines)
{
    return QStringList{QStringLiteral("VIDEO OUTPUT ROUTING:")} + lines;
}

QStringList locks(const QStringList &lines)
{
    return QStringList{QStringLiteral("VIDEO OUTPUT LOCKS:")} + lines;
}

const QStringList Ack{QStringLiteral("ACK")};
const QStringList Nak{QStringLiteral("NAK")};
// The blocks of the dump: preamble, device, two label blocks, locks, routing, end.
constexpr int DumpBlocks = 7;

struct ServerRig : PanelRig
{
    std::unique_ptr<ControlPort> control;
    std::unique_ptr<VideohubServer> server;

    explicit ServerRig(const QString &allow = {})
    {
        useRouters([](Configuration &config) {
            addRouter(config, 0, 3, 3);
            addRouter(config.Routers, 1, 1, 1, 0, 6);
            config.ConfigFilePath = QStringLiteral("/shows/Studio A.rcf");
            config.RouterTimeout = 0.5f;
        });
        started = startSim({"--no-pacing", "--answer", "1=code:21"});
        build();
        control = std::make_unique<ControlPort>(panel->operations(), *panel);
        control->listen();
        VideohubOptions options;
        options.port = 0;
        if (!allow.isEmpty())
            options.allow.append(QHostAddress::parseSubnet(allow));
        server = std::make_unique<VideohubServer>(*panel, options);
        listening = server->listen();
        panel->Form_Load([this] { runSetup(); });
    }

    // A client past its dump.
    std::unique_ptr<VideohubPeer> connect(const QHostAddress &from = A)
    {
        auto peer = std::make_unique<VideohubPeer>(server->port(), from);
        peer->waitForBlocks(DumpBlocks);
        return peer;
    }

    // Two clients past their dumps, on different addresses.
    std::pair<std::unique_ptr<VideohubPeer>, std::unique_ptr<VideohubPeer>> twoClients()
    {
        auto first = connect();
        return {std::move(first), connect(B)};
    }

    [[nodiscard]] bool ready() const { return started && listening; }

    bool started = false;
    bool listening = false;
};

QString controlAnswer(const QByteArray &command)
{
    QLocalSocket socket;
    socket.connectToServer(controlSocketName());
    socket.write(command);
    (void)QTest::qWaitFor([&] { return socket.canReadLine(); }, 20000);
    return QString::fromUtf8(socket.readLine()).trimmed();
}

} // namespace

class TestVideohubServer : public QObject
{
    Q_OBJECT

private slots:
    // In order, LF only, every port with its name ("-" where no router
    // serves it), routes only where the video source is known.
    void dumpOnConnect()
    {
        ServerRig rig;
        QVERIFY(rig.ready());
        rig.panel->takes().cellClick(2 * 16 + 1);
        QVERIFY(rig.sim.waitForFrames(1));
        VideohubPeer peer(rig.server->port());
        const QList<QStringList> dump = peer.waitForBlocks(DumpBlocks);
        QVERIFY(dump.size() >= DumpBlocks);
        QVERIFY(!peer.received().contains('\r'));
        QCOMPARE(dump[0], (QStringList{"PROTOCOL PREAMBLE:", "Version: 2.8"}));
        QCOMPARE(dump[1].mid(0, 4), (QStringList{"VIDEOHUB DEVICE:", "Device present: true", "Model name: Velmora",
                                                 "Friendly name: Studio A.rcf"}));
        QVERIFY(QRegularExpression(QStringLiteral("^Unique ID: [0-9A-F]{12}$")).match(dump[1][4]).hasMatch());
        QCOMPARE(dump[1].mid(5), (QStringList{"Video inputs: 4", "Video processing units: 0", "Video outputs: 8",
                                              "Video monitoring outputs: 0", "Serial ports: 0"}));
        QCOMPARE(dump[2].size(), 5);
        QCOMPARE(dump[3], (QStringList{"OUTPUT LABELS:", "0 Out 01", "1 Out 02", "2 Out 03", "3 Out 04", "4 -", "5 -",
                                       "6 Out 01", "7 Out 02"}));
        QCOMPARE(dump[4], locks({"0 U", "1 U", "2 U", "3 U", "4 U", "5 U", "6 U", "7 U"}));
        QCOMPARE(dump[5], routing({"1 2"}));
        QCOMPARE(dump[6], QStringList{"END PRELUDE:"});
    }

    // A block of routes to two clients: ACK to the sender, then each route
    // on the line and pushed to both, in order; a route the router refuses
    // goes on the line and changes nothing. Clicks and the control port are
    // pushed the same way.
    void routesArePushedToEveryClient()
    {
        ServerRig rig;
        QVERIFY(rig.ready());
        auto [a, b] = rig.twoClients();
        a->send("VIDEO OUTPUT ROUTING:\n3 1\n0 2\n6 1\n\n");
        QCOMPARE(a->next(DumpBlocks, 3), (QList<QStringList>{Ack, routing({"3 1"}), routing({"0 2"})}));
        QCOMPARE(b->next(DumpBlocks, 2), (QList<QStringList>{routing({"3 1"}), routing({"0 2"})}));
        QVERIFY(rig.sim.waitForFrames(3));
        QCOMPARE(rig.routes(true), (QStringList{route(0, 1, 3, "ack"), route(0, 2, 0, "ack"),
                                                route(1, 1, 0, "refused:21")}));
        rig.panel->takes().cellClick(3 * 16 + 2);
        QCOMPARE(b->next(DumpBlocks + 2, 1), QList<QStringList>{routing({"2 3"})});
        QCOMPARE(controlAnswer("route 0 1 0\n"), QStringLiteral("ok"));
        QCOMPARE(b->next(DumpBlocks + 3, 1), QList<QStringList>{routing({"1 0"})});
        QCOMPARE(a->next(DumpBlocks + 4, 1).last(), routing({"1 0"}));
        QCOMPARE(rig.stateOf(0, 3).Audio(), 1);

        const QStringList log = QString::fromUtf8(PanelRig::readAll(rig.panel->activityLog()->filePath()))
                                    .split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(log.size(), 5);
        QVERIFY(log[0].contains(QRegularExpression(QStringLiteral(
            "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}\tvideohub 127\\.0\\.0\\.1:\\d+\troute output=4 \"Out 04\" "
            "input=2 \"In 02\" frame=0 router-output=3 router-input=1 level=both result=ok$"))));
        QVERIFY(log[2].endsWith(QStringLiteral("frame=1 router-output=0 router-input=1 level=both result=Router "
                                               "returned 21")));
        QVERIFY(log[3].contains(QStringLiteral("\tpanel\troute output=3 ")));
        QVERIFY(log[4].contains(QStringLiteral("\tcontrol\troute output=2 ")));
    }

    void requestsAnswered_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QList<QStringList>>("answer");
        QTest::newRow("malformed route") << QByteArray("VIDEO OUTPUT ROUTING:\n0 1\n2\n\n") << QList<QStringList>{Nak};
        QTest::newRow("output out of range") << QByteArray("VIDEO OUTPUT ROUTING:\n8 1\n\n") << QList<QStringList>{Nak};
        QTest::newRow("input out of range") << QByteArray("VIDEO OUTPUT ROUTING:\n0 4\n\n") << QList<QStringList>{Nak};
        QTest::newRow("over-long line") << QByteArray("VIDEO OUTPUT ROUTING:\n0 1" + QByteArray(1100, ' ') + "\n\n")
                                        << QList<QStringList>{Nak};
        QTest::newRow("name with ;") << QByteArray("INPUT LABELS:\n0 Cam 1\n1 A;B\n\n") << QList<QStringList>{Nak};
        QTest::newRow("bare header") << QByteArray("VIDEO OUTPUT ROUTING:\n\n") << QList<QStringList>{Ack, routing({})};
        QTest::newRow("PING") << QByteArray("PING:\n\n") << QList<QStringList>{Ack};
        QTest::newRow("serial ports") << QByteArray("SERIAL PORT ROUTING:\n0 1\n\n") << QList<QStringList>{Ack};
        QTest::newRow("unknown header") << QByteArray("TAKE:\n0 1\n\n") << QList<QStringList>{Nak};
        QTest::newRow("NUL bytes") << QByteArray("PING:\0\n\n", 8) << QList<QStringList>{Nak};
    }

    // Answered at once; nothing goes on the line and no name changes.
    void requestsAnswered()
    {
        QFETCH(QByteArray, request);
        QFETCH(QList<QStringList>, answer);
        ServerRig rig;
        QVERIFY(rig.ready());
        auto peer = rig.connect();
        peer->send(request + "PING:\n\n");
        QCOMPARE(peer->next(DumpBlocks, answer.size() + 1), answer + QList<QStringList>{Ack});
        QVERIFY(rig.sim.frames().isEmpty());
        QCOMPARE(rig.panel->config().Routers[0]->RouterInName(0), QStringLiteral("In 01"));
    }

    // Names go through the panel's rules ("!" for a duplicate within a
    // router) and are pushed to everyone as stored; the panel's own edits too.
    void labelsRenamePortsAndArePushed()
    {
        ServerRig rig;
        QVERIFY(rig.ready());
        auto [a, b] = rig.twoClients();
        a->send("INPUT LABELS:\n0 Cam A\n1 Cam A\n\n");
        QCOMPARE(a->next(DumpBlocks, 3), (QList<QStringList>{Ack, {"INPUT LABELS:", "0 Cam A"},
                                                             {"INPUT LABELS:", "1 !Cam A"}}));
        QCOMPARE(b->next(DumpBlocks, 2).last(), (QStringList{"INPUT LABELS:", "1 !Cam A"}));
        QCOMPARE(rig.panel->names().txtOut_LostFocus(6, QStringLiteral("Monitor")), QStringLiteral("Monitor"));
        QCOMPARE(b->next(DumpBlocks + 2, 1).last(), (QStringList{"OUTPUT LABELS:", "6 Monitor"}));
        QCOMPARE(rig.panel->config().Routers[1]->RouterOutName(0), QStringLiteral("Monitor"));
    }

    // Locks per client address: O for one's own, L for another's, every
    // change pushed to each client in its own view; a locked output refuses
    // other clients (ACK, the unchanged state pushed), the panel and the
    // control port (status message naming the owner; a macro goes on).
    void locksGuardOutputs()
    {
        ServerRig rig;
        QVERIFY(rig.ready());
        rig.panel->macroBank().Macros[0] = QList<RouteRecord>{RouteRecord::pack(0, 1, 0, 3), RouteRecord::pack(0, 2, 0, 3)};
        auto a = rig.connect();
        auto b = rig.connect(B);
        a->send("VIDEO OUTPUT LOCKS:\n1 O\n\n");
        QCOMPARE(a->next(DumpBlocks, 2).last(), locks({"1 O"}));
        QCOMPARE(b->next(DumpBlocks, 1).last(), locks({"1 L"}));
        a->send("VIDEO OUTPUT ROUTING:\n1 3\n\n");
        QCOMPARE(b->next(DumpBlocks + 1, 1).last(), routing({"1 3"}));
        b->send("VIDEO OUTPUT ROUTING:\n1 0\n\nVIDEO OUTPUT LOCKS:\n1 U\n\n");
        QCOMPARE(b->next(DumpBlocks + 2, 4), (QList<QStringList>{Ack, Ack, locks({"1 L"}), routing({"1 3"})}));
        const QString locked = QStringLiteral("Output 2 \"Out 02\" is locked by 127.0.0.1");
        QCOMPARE(controlAnswer("route 0 1 0\n"), QStringLiteral("error ") + locked);
        QCOMPARE(rig.panel->statusLine().text(), locked);
        QCOMPARE(controlAnswer("macro 0\n"), QStringLiteral("error ") + locked);
        a->send("VIDEO OUTPUT ROUTING:\n1 2\n\n");
        QCOMPARE(b->next(DumpBlocks + 9, 1).last(), routing({"1 2"}));
        QCOMPARE(rig.routes(), (QStringList{route(0, 3, 1), route(0, 0, 2), route(0, 2, 1)}));

        b->send("VIDEO OUTPUT LOCKS:\n1 F\n2 O\n\n");
        QCOMPARE(a->next(DumpBlocks + 10, 1).last(), locks({"1 U", "2 L"}));
        rig.panel->unlockOutput(2);
        QCOMPARE(b->next(DumpBlocks + 12, 1).last(), locks({"2 U"}));
        QCOMPARE(rig.panel->locks().owner(2), QString());
        const QByteArray log = PanelRig::readAll(rig.panel->activityLog()->filePath());
        QVERIFY(log.contains("lock output=2 \"Out 02\" action=force-unlock owner=127.0.0.1 result=ok"));
        QVERIFY(log.contains("\tpanel\tlock output=3 \"Out 03\" action=panel-unlock owner=127.0.0.2 result=ok"));
    }

    // 32 clients are served, the 33rd is closed at once; a client outside
    // the allow list too.
    void clientBounds()
    {
        ServerRig rig(QStringLiteral("127.0.0.1/32"));
        QVERIFY(rig.ready());
        std::vector<std::unique_ptr<VideohubPeer>> peers;
        for (int i = 0; i < VideohubServer::MaxClients; ++i)
            peers.push_back(rig.connect());
        QCOMPARE(peers.back()->blocks().size(), DumpBlocks);
        VideohubPeer extra(rig.server->port());
        QVERIFY(extra.waitForClose());
        QVERIFY(extra.received().isEmpty());
        peers.pop_back();
        VideohubPeer outsider(rig.server->port(), B);
        QVERIFY(outsider.waitForClose());
        QVERIFY(outsider.received().isEmpty());
        QCOMPARE(rig.connect()->blocks().size(), DumpBlocks);
    }

    // A client that floods without reading is closed once its unread
    // answers pass the bound; another client's route is served meanwhile.
    void flooderHoldsUpNobody()
    {
        ServerRig rig;
        QVERIFY(rig.ready());
        auto flooder = rig.connect();
        flooder->socket.setReadBufferSize(1024);
        // Requests whose answers are ten times their size, and garbage.
        constexpr int Blocks = 200'000;
        QByteArray garbage;
        for (int i = 0; i < Blocks; ++i)
            garbage += i % 7 ? QByteArrayLiteral("VIDEOHUB DEVICE:\n\n") : QByteArrayLiteral("\xff\x00 x\n\n");
        flooder->send(garbage);
        auto router = rig.connect(B);
        router->send("VIDEO OUTPUT ROUTING:\n0 1\n\n");
        QCOMPARE(router->next(DumpBlocks, 2).last(), routing({"0 1"}));
        flooder->socket.setReadBufferSize(0);
        QVERIFY(flooder->waitForClose());
        QVERIFY(flooder->blocks().size() < Blocks);
    }

    // The panel closes while routes wait for their replies and in queue:
    // they end without a crash, the server still answers.
    void panelClosesWhileClientsWait()
    {
        ServerRig rig;
        QVERIFY(rig.ready());
        auto peer = rig.connect();
        peer->send("VIDEO OUTPUT ROUTING:\n0 0\n1 0\n2 1\n3 1\n\n");
        QVERIFY(rig.sim.waitForFrames(1));
        rig.panel->Form_Unload();
        peer->send("PING:\n\n");
        QTRY_VERIFY_WITH_TIMEOUT(peer->blocks().size() >= DumpBlocks + 2 && peer->blocks().last() == Ack, 20000);
        rig.server.reset();
        rig.panel.reset();
    }
};

QTEST_GUILESS_MAIN(TestVideohubServer)
#include "tst_videohubserver.moc"
