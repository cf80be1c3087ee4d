#include "remote/ControlPort.h"
#include "remote/ControlSocketName.h"
#include "remote/videohub/VideohubServer.h"
#include "support/NoFreeDescriptors.h"
#include "support/PanelRig.h"
#include "support/VideohubPeer.h"

#include <QDir>
#include <QLocalSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

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

// What a rig may change: the allow list, how the simulated routers answer
// (router 1 refuses every route), the idle limit.
struct RigSettings
{
    QString allow;
    QString answer0 = QStringLiteral("ack");
    qint64 idleLimitMs = VideohubOptions::DefaultIdleLimitMs;
};

struct ServerRig : PanelRig
{
    std::unique_ptr<ControlPort> control;
    std::unique_ptr<VideohubServer> server;

    explicit ServerRig(const RigSettings &settings = {})
    {
        useRouters([](Configuration &config) {
            addRouter(config, 0, 3, 3);
            addRouter(config.Routers, 1, 1, 1, 0, 6);
            config.ConfigFilePath = QStringLiteral("/shows/Studio A.rcf");
            config.RouterTimeout = 0.5f;
        });
        started = startSim({"--no-pacing", "--answer", "0=" + settings.answer0, "--answer", "1=code:21"});
        build();
        control = std::make_unique<ControlPort>(panel->operations(), *panel);
        control->listen();
        VideohubOptions options;
        options.port = 0;
        options.idleLimitMs = settings.idleLimitMs;
        if (!settings.allow.isEmpty())
            options.allow.append(QHostAddress::parseSubnet(settings.allow));
        server = std::make_unique<VideohubServer>(*panel, options);
        listening = server->listen();
        panel->Form_Load([this] { runSetup(); });
    }

    // A client past its dump.
    std::unique_ptr<VideohubPeer> connect(const QHostAddress &from = A)
    {
        auto peer = std::make_unique<VideohubPeer>(server->port(), from);
        (void)peer->next(DumpBlocks);
        return peer;
    }

    // Two clients past their dumps, on different addresses.
    std::pair<std::unique_ptr<VideohubPeer>, std::unique_ptr<VideohubPeer>> twoClients()
    {
        auto first = connect();
        return {std::move(first), connect(B)};
    }

    [[nodiscard]] bool ready() const { return started && listening; }
    [[nodiscard]] QString log() const { return QString::fromUtf8(readAll(panel->activityLog()->filePath())); }

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
    // The dump in order, LF only, every port with its name ("-" where no
    // router serves it), routes only where the video source is known. A bare
    // header is answered with its block; a set-up change sends all but the
    // preamble and the end again; a refused block, or one of hardware this
    // device lacks, puts nothing on the line.
    void dumpAndAnswers()
    {
        ServerRig rig;
        QVERIFY(rig.ready());
        auto watcher = rig.connect();
        rig.panel->takes().cellClick(2 * 16 + 1);
        QCOMPARE(watcher->next(1), QList<QStringList>{routing({"1 2"})});
        VideohubPeer peer(rig.server->port());
        const QList<QStringList> dump = peer.next(DumpBlocks);
        QCOMPARE(dump.size(), DumpBlocks);
        static const QRegularExpression uniqueId(QStringLiteral("\nUnique ID: [0-9A-F]{12}\n"));
        QCOMPARE(QString::fromUtf8(peer.received()).replace(uniqueId, QStringLiteral("\nUnique ID: HEX\n")),
                 "PROTOCOL PREAMBLE:\nVersion: 2.8\n\nVIDEOHUB DEVICE:\nDevice present: true\nModel name: Velmora\n"
                 "Friendly name: Studio A.rcf\nUnique ID: HEX\nVideo inputs: 4\nVideo processing units: 0\nVideo outputs: 8\n"
                 "Video monitoring outputs: 0\nSerial ports: 0\n\nINPUT LABELS:\n0 In 01\n1 In 02\n2 In 03\n3 In 04\n\n"
                 "OUTPUT LABELS:\n0 Out 01\n1 Out 02\n2 Out 03\n3 Out 04\n4 -\n5 -\n6 Out 01\n7 Out 02\n\nVIDEO OUTPUT LOCKS:\n"
                 "0 U\n1 U\n2 U\n3 U\n4 U\n5 U\n6 U\n7 U\n\nVIDEO OUTPUT ROUTING:\n1 2\n\nEND PRELUDE:\n\n");

        peer.send("VIDEO OUTPUT ROUTING:\n0 1\n2\n\nSERIAL PORT ROUTING:\n0 1\n\nPROTOCOL PREAMBLE:\n\nVIDEOHUB DEVICE:\n\n"
                  "INPUT LABELS:\n\nOUTPUT LABELS:\n\nVIDEO OUTPUT LOCKS:\n\nVIDEO OUTPUT ROUTING:\n\n");
        QList<QStringList> answers{Nak, Ack};
        for (const QStringList &block : dump.first(DumpBlocks - 1))
            answers << Ack << block;
        QCOMPARE(peer.next(answers.size()), answers);
        rig.panel->ReturnFromConfig();
        QCOMPARE(peer.next(5), dump.mid(1, 5));
        QCOMPARE(rig.sim.frames().size(), 1);
    }

    // A block of routes to two clients: ACK to the sender, then each route
    // on the line and pushed to both, in order; a route the router refuses
    // goes on the line and changes nothing. Clicks and the control port are
    // pushed the same way; the activity log names who routed.
    void routesArePushedToEveryClient()
    {
        ServerRig rig;
        QVERIFY(rig.ready());
        auto [a, b] = rig.twoClients();
        a->send("VIDEO OUTPUT ROUTING:\n3 1\n0 2\n6 1\n\n");
        QCOMPARE(a->next(3), (QList<QStringList>{Ack, routing({"3 1"}), routing({"0 2"})}));
        QCOMPARE(b->next(2), (QList<QStringList>{routing({"3 1"}), routing({"0 2"})}));
        QVERIFY(rig.sim.waitForFrames(3));
        QCOMPARE(rig.routes(true), (QStringList{route(0, 1, 3, "ack"), route(0, 2, 0, "ack"), route(1, 1, 0, "refused:21")}));
        rig.panel->takes().cellClick(3 * 16 + 2);
        QCOMPARE(b->next(1), QList<QStringList>{routing({"2 3"})});
        QCOMPARE(controlAnswer("route 0 1 0\n"), QStringLiteral("ok"));
        QCOMPARE(b->next(1), QList<QStringList>{routing({"1 0"})});
        QCOMPARE(a->next(2), (QList<QStringList>{routing({"2 3"}), routing({"1 0"})}));
        QCOMPARE(rig.stateOf(0, 3).Audio(), 1);

        const QStringList log = rig.log().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(log.size(), 5);
        QVERIFY(log[0].contains(QRegularExpression(
            "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}\tvideohub 127\\.0\\.0\\.1:\\d+\troute output=4 \"Out 04\" "
            "input=2 \"In 02\" frame=0 router-output=3 router-input=1 level=both result=ok$")));
        QVERIFY(log[2].endsWith("frame=1 router-output=0 router-input=1 level=both result=Router returned 21"));
        QVERIFY(log[3].contains("\tpanel\troute output=3 "));
        QVERIFY(log[4].contains("\tcontrol\troute output=2 "));
    }

    // Names go through the panel's rules ("!" for a duplicate within a
    // router) and are pushed to everyone as stored, a block's in one push;
    // the panel's own edits too. A block with a control character in a name
    // changes nothing: it could write lines of its own into the set-up file.
    void labelsRenamePortsAndArePushed()
    {
        ServerRig rig;
        QVERIFY(rig.ready());
        auto [a, b] = rig.twoClients();
        a->send("INPUT LABELS:\n3 fine\n2 X\rCom Port: 2\n\n");
        QCOMPARE(a->next(1), QList<QStringList>{Nak});
        QCOMPARE(rig.panel->names().matrixInputName(3), QStringLiteral("In 04"));
        QCOMPARE(rig.panel->names().matrixInputName(2), QStringLiteral("In 03"));
        a->send("INPUT LABELS:\n0 Cam A\n1 Cam A\n\n");
        QCOMPARE(a->next(2), (QList<QStringList>{Ack, {"INPUT LABELS:", "0 Cam A", "1 !Cam A"}}));
        QCOMPARE(b->next(1), (QList<QStringList>{{"INPUT LABELS:", "0 Cam A", "1 !Cam A"}}));
        QCOMPARE(rig.panel->names().txtOut_LostFocus(6, QStringLiteral("Monitor")), QStringLiteral("Monitor"));
        QCOMPARE(b->next(1), (QList<QStringList>{{"OUTPUT LABELS:", "6 Monitor"}}));
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
        auto [a, b] = rig.twoClients();
        a->send("VIDEO OUTPUT LOCKS:\n1 O\n\n");
        QCOMPARE(a->next(2), (QList<QStringList>{Ack, locks({"1 O"})}));
        QCOMPARE(b->next(1), QList<QStringList>{locks({"1 L"})});
        a->send("VIDEO OUTPUT ROUTING:\n1 3\n\n");
        QCOMPARE(b->next(1), QList<QStringList>{routing({"1 3"})});
        b->send("VIDEO OUTPUT ROUTING:\n1 0\n\nVIDEO OUTPUT LOCKS:\n1 U\n\n");
        QCOMPARE(b->next(4), (QList<QStringList>{Ack, Ack, locks({"1 L"}), routing({"1 3"})}));
        const QString locked = QStringLiteral("Output 2 \"Out 02\" is locked by 127.0.0.1");
        QCOMPARE(controlAnswer("route 0 1 0\n"), QStringLiteral("error ") + locked);
        QCOMPARE(rig.panel->statusLine().text(), locked);
        QCOMPARE(controlAnswer("macro 0\n"), QStringLiteral("error ") + locked);
        a->send("VIDEO OUTPUT ROUTING:\n1 2\n\n");
        QCOMPARE(b->next(4), (QList<QStringList>{routing({"1 3"}), routing({"1 3"}), routing({"2 0"}), routing({"1 2"})}));
        QCOMPARE(rig.routes(), (QStringList{route(0, 3, 1), route(0, 0, 2), route(0, 2, 1)}));

        b->send("VIDEO OUTPUT LOCKS:\n1 F\n2 O\n\n");
        QCOMPARE(a->next(9).last(), locks({"1 U", "2 L"}));
        rig.panel->unlockOutput(2);
        QCOMPARE(b->next(3), (QList<QStringList>{Ack, locks({"1 U", "2 O"}), locks({"2 U"})}));
        QCOMPARE(rig.panel->locks().owner(2), QString());
        const QString log = rig.log();
        QVERIFY(log.contains("lock output=2 \"Out 02\" action=force-unlock owner=127.0.0.1 result=ok"));
        QVERIFY(log.contains("\tpanel\tlock output=3 \"Out 03\" action=panel-unlock owner=127.0.0.2 result=ok"));
    }

    // 32 clients are served, the 33rd is closed at once; a client outside
    // the allow list too.
    void clientBounds()
    {
        ServerRig rig({.allow = QStringLiteral("127.0.0.1/32"), .answer0 = QStringLiteral("ack"), .idleLimitMs = VideohubOptions::DefaultIdleLimitMs});
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
        QCOMPARE(router->next(2), (QList<QStringList>{Ack, routing({"0 1"})}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.server->connectedCount(), 1, 10000);
        flooder->socket.setReadBufferSize(0);
        QVERIFY(flooder->waitForClose());
        QVERIFY(flooder->blocks().size() < Blocks);
    }

    // Clients that read are never closed however much one of them renames:
    // the renames wait for the pushes to be taken instead.
    void readersKeepUpWithALabelFlood()
    {
        ServerRig rig;
        QVERIFY(rig.ready());
        auto [flooder, reader] = rig.twoClients();
        // Six outputs renamed, a kilobyte a name, by each of 600 blocks: 3.6 MB pushed to each client.
        constexpr int Blocks = 600;
        QByteArray flood;
        for (int i = 0; i < Blocks; ++i) {
            flood += "OUTPUT LABELS:\n";
            for (const int port : {0, 1, 2, 3, 6, 7})
                flood += QByteArray::number(port) + ' ' + QByteArray::number(i) + QByteArray(1000, 'a' + port) + '\n';
            flood += '\n';
        }
        flooder->send(flood);
        const QStringList last = reader->next(Blocks).constLast();
        QCOMPARE(last.size(), 7);
        QCOMPARE(last[1], QString("0 599" + QString(1000, u'a')));
        QCOMPARE(flooder->next(2 * Blocks).constLast(), last);
        QCOMPARE(rig.server->connectedCount(), 2);
    }

    // A client that leaves frees its place at once, though the routes it
    // sent still wait for the line; one that sends nothing for the idle
    // limit is closed, one that pings is not.
    void placesAreFreed()
    {
        ServerRig rig({.allow = {}, .answer0 = QStringLiteral("ack@100"), .idleLimitMs = 400});
        QVERIFY(rig.ready());
        for (int i = 0; i < VideohubServer::MaxClients; ++i) {
            auto leaving = rig.connect();
            leaving->send("VIDEO OUTPUT ROUTING:\n0 1\n1 1\n2 1\n3 1\n\n");
            QTRY_VERIFY_WITH_TIMEOUT(leaving->blocks().contains(Ack), 10000);
        }
        QTRY_COMPARE_WITH_TIMEOUT(rig.server->connectedCount(), 0, 10000);
        auto quiet = rig.connect();
        QVERIFY(quiet->blocks().size() >= DumpBlocks);
        auto talker = rig.connect(B);
        QTimer ping;
        QObject::connect(&ping, &QTimer::timeout, [&] { talker->send("PING:\n\n"); });
        ping.start(100);
        QVERIFY(quiet->waitForClose());
        QCOMPARE(talker->socket.state(), QAbstractSocket::ConnectedState);
        QCOMPARE(rig.server->connectedCount(), 1);
        QVERIFY(rig.sim.frames().size() < VideohubServer::MaxClients * 4);
    }

#ifdef Q_OS_UNIX
    // A client that closes its sending side still hears the answer to what
    // it sent, and its routes are taken.
    void halfClosedClientIsAnswered()
    {
        ServerRig rig;
        QVERIFY(rig.ready());
        auto peer = rig.connect();
        peer->send("VIDEO OUTPUT ROUTING:\n0 1\n\n");
        QVERIFY(peer->socket.flush());
        QCOMPARE(::shutdown(int(peer->socket.socketDescriptor()), SHUT_WR), 0);
        QCOMPARE(peer->next(1), QList<QStringList>{Ack});
        QVERIFY(rig.sim.waitForFrames(1));
        QVERIFY(peer->waitForClose());
    }

    // Out of descriptors, accepting fails: the server rests instead of
    // spinning, says so, and accepts the client waiting once it can.
    void restsWhileAcceptFails()
    {
        ServerRig rig;
        QVERIFY(rig.ready());
        (void)rig.connect();
        VideohubPeer waiting(rig.server->port());
        QVERIFY(waiting.socket.waitForConnected(10000));
        {
            const NoFreeDescriptors exhausted;
            QTRY_VERIFY_WITH_TIMEOUT(rig.panel->statusLine().text().startsWith("Videohub server cannot accept clients"),
                                     10000);
        }
        QCOMPARE(waiting.next(DumpBlocks).size(), DumpBlocks);
    }
#endif

    // Routes are logged and pushed in the order they reached the router,
    // also when one was taken while another waited for its reply.
    void routesAreToldInLineOrder()
    {
        ServerRig rig({.allow = {}, .answer0 = QStringLiteral("ack@200"), .idleLimitMs = VideohubOptions::DefaultIdleLimitMs});
        QVERIFY(rig.ready());
        auto peer = rig.connect();
        QLocalSocket control;
        control.connectToServer(controlSocketName());
        // Sent while the control port's route waits for its reply.
        QObject::connect(
            &rig.sim, &RouterSim::frameLogged, &rig.sim, [&] { peer->send("VIDEO OUTPUT ROUTING:\n1 2\n\n"); },
            Qt::SingleShotConnection);
        control.write("route 0 1 0\n");
        QCOMPARE(peer->next(3), (QList<QStringList>{Ack, routing({"1 0"}), routing({"1 2"})}));
        QTRY_VERIFY_WITH_TIMEOUT(control.canReadLine(), 10000);
        const QStringList log = rig.log().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(log.size(), 2);
        QVERIFY(log[0].contains("\tcontrol\troute output=2 \"Out 02\" input=1 "));
        QVERIFY(log[1].contains("\troute output=2 \"Out 02\" input=3 "));
        QCOMPARE(rig.stateOf(0, 1).Video(), 2);
    }

    // The user's settings file, where the README says it is, turns the server on.
    void settingsFileInTheUsersConfigFolder()
    {
        ServerRig rig;
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const QString where = QStringLiteral("127.0.0.1:%1").arg(probe.serverPort());
        probe.close();
        QVERIFY(QDir().mkpath(config.filePath(QStringLiteral("Velmora"))));
        QFile file(config.filePath(QStringLiteral("Velmora/velmora.conf")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[videohub]\nlisten=" + where.toUtf8() + "\n") > 0);
        file.close();
        const auto server = VideohubServer::fromArguments(*rig.panel, {});
        qunsetenv("XDG_CONFIG_HOME");
        QVERIFY(server);
        QCOMPARE(server->where(), where);
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
