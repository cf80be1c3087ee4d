#include "desktop/net/TcpListener.h"
#include "remote/ServerLimits.h"
#include "remote/videohub/VideohubServer.h"
#include "support/FakeRemotePanel.h"
#include "support/NoFreeDescriptors.h"
#include "support/VideohubPeer.h"

#include <QAbstractEventDispatcher>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

// The Videohub server's protocol rules, in process, against a panel in
// memory: 4 inputs, 8 outputs, outputs 4 and 5 (from 0) served by no router.

using namespace videohub;

namespace {

const QHostAddress B(QStringLiteral("127.0.0.2"));

// Headers of the blocks a client is pushed, each block {header, lines...}.
const QString Routing = QStringLiteral("VIDEO OUTPUT ROUTING:");
const QString Locks = QStringLiteral("VIDEO OUTPUT LOCKS:");
const QString InputLabels = QStringLiteral("INPUT LABELS:");
const QStringList Ack{QStringLiteral("ACK")};
const QStringList Nak{QStringLiteral("NAK")};

struct ServerRig
{
    FakeRemotePanel panel{4, 8};
    std::unique_ptr<VideohubServer> server;
    bool listening = false;

    explicit ServerRig(const QString &allow = {}, qint64 idleLimitMs = serverlimits::IdleLimitMs)
    {
        panel.state.outputNames[4] = QString();
        panel.state.outputNames[5] = QString();
        VideohubOptions options;
        options.port = 0;
        options.idleLimitMs = idleLimitMs;
        if (!allow.isEmpty())
            options.allow.append(QHostAddress::parseSubnet(allow));
        server = std::make_unique<VideohubServer>(panel, options);
        listening = server->listen();
    }

    // A client past its dump.
    std::unique_ptr<VideohubPeer> connect(const QHostAddress &from = QHostAddress::LocalHost)
    {
        return VideohubPeer::pastDump(server->port(), from);
    }
};

} // namespace

class TestVideohubServer : public QObject
{
    Q_OBJECT

private slots:
    // Two clients, a (127.0.0.1) and b (127.0.0.2): what a is told on
    // connecting and asking, and what each is told of the other's changes.
    void dumpAnswersAndPushes()
    {
        ServerRig rig;
        QVERIFY(rig.listening);
        rig.panel.refusing = {6};
        rig.panel.state.sources[1].video = 2;
        rig.panel.state.sources[2].audio = 1;
        // The dump in order, LF only, every port with its name ("-" where no
        // router serves it), routes only where the video source is known. A
        // bare header is answered with its block; a set-up change sends all
        // but the preamble and the end again.
        VideohubPeer a(rig.server->port());
        const QList<QStringList> dump = a.next(VideohubPeer::DumpBlocks);
        static const QRegularExpression uniqueId(QStringLiteral("\nUnique ID: [0-9A-F]{12}\n"));
        QCOMPARE(QString::fromUtf8(a.received()).replace(uniqueId, QStringLiteral("\nUnique ID: HEX\n")),
                 "PROTOCOL PREAMBLE:\nVersion: 2.8\n\nVIDEOHUB DEVICE:\nDevice present: true\nModel name: Velmora\n"
                 "Friendly name: Studio A.rcf\nUnique ID: HEX\nVideo inputs: 4\nVideo processing units: 0\n"
                 "Video outputs: 8\nVideo monitoring outputs: 0\nSerial ports: 0\n\nINPUT LABELS:\n0 In 1\n1 In 2\n"
                 "2 In 3\n3 In 4\n\nOUTPUT LABELS:\n0 Out 1\n1 Out 2\n2 Out 3\n3 Out 4\n4 -\n5 -\n6 Out 7\n7 Out 8\n\n"
                 "VIDEO OUTPUT LOCKS:\n0 U\n1 U\n2 U\n3 U\n4 U\n5 U\n6 U\n7 U\n\nVIDEO OUTPUT ROUTING:\n1 2\n\n"
                 "END PRELUDE:\n\n");

        a.send(
            "VIDEO OUTPUT ROUTING:\n0 1\n2\n\nSERIAL PORT ROUTING:\n0 1\n\nPROTOCOL PREAMBLE:\n\nVIDEOHUB DEVICE:\n\n"
            "INPUT LABELS:\n\nOUTPUT LABELS:\n\nVIDEO OUTPUT LOCKS:\n\nVIDEO OUTPUT ROUTING:\n\n");
        QList<QStringList> answers{Nak, Ack};
        for (const QStringList &shown : dump.first(VideohubPeer::DumpBlocks - 1))
            answers << Ack << shown;
        QCOMPARE(a.next(answers.size()), answers);
        emit rig.panel.setupChanged();
        QCOMPARE(a.next(5), dump.mid(1, 5));
        QVERIFY(rig.panel.taken.isEmpty());

        auto b = rig.connect(B);
        // Routes are acknowledged to the sender, taken on both levels with
        // the client as their origin, and each pushed to every client with
        // the output's state after it: none for a route the router refused on
        // an output with no known source. A route made elsewhere is pushed too.
        a.send("VIDEO OUTPUT ROUTING:\n3 1\n0 2\n6 1\n\n");
        QCOMPARE(a.next(3), (QList<QStringList>{Ack, {Routing, "3 1"}, {Routing, "0 2"}}));
        QCOMPARE(b->next(2), (QList<QStringList>{{Routing, "3 1"}, {Routing, "0 2"}}));
        QTRY_COMPARE(rig.panel.taken.size(), 3);
        const QString from = QStringLiteral("videohub 127.0.0.1:%1 ").arg(a.socket.localPort());
        QCOMPARE(rig.panel.taken, (QStringList{from + "3 1 3", from + "0 2 3", from + "6 1 3"}));
        rig.panel.state.sources[2].video = 3;
        emit rig.panel.routed(2, 1, true);
        QCOMPARE(b->next(1), (QList<QStringList>{{Routing, "2 3"}}));
        QCOMPARE(a.next(1), (QList<QStringList>{{Routing, "2 3"}}));

        // Locks per client address: O for one's own, L for another's, every
        // change pushed to each client in its own view. A lock line refused
        // because another client holds the output is answered with its
        // unchanged state; a route to it is refused by the panel and the
        // state pushed.
        a.send("VIDEO OUTPUT LOCKS:\n1 O\n\n");
        QCOMPARE(a.next(2), (QList<QStringList>{Ack, {Locks, "1 O"}}));
        QCOMPARE(b->next(1), (QList<QStringList>{{Locks, "1 L"}}));
        b->send("VIDEO OUTPUT ROUTING:\n1 0\n\nVIDEO OUTPUT LOCKS:\n1 U\n\n");
        QCOMPARE(b->next(4), (QList<QStringList>{Ack, Ack, {Locks, "1 L"}, {Routing, "1 2"}}));
        QCOMPARE(rig.panel.state.lockOwners[1], QStringLiteral("127.0.0.1"));
        b->send("VIDEO OUTPUT LOCKS:\n1 F\n2 O\n\n");
        QCOMPARE(b->next(2), (QList<QStringList>{Ack, {Locks, "1 U", "2 O"}}));
        QCOMPARE(a.next(2).last(), (QStringList{Locks, "1 U", "2 L"}));

        // Names are pushed to everyone as stored, a block's in one push. A
        // name kept as it was, or one for a port no router serves, is told back
        // to the sender only, as it stands ("-"). (A block the parser refuses,
        // such as one with a control character in a name: the NAK above.)
        a.send("INPUT LABELS:\n0 Cam A\n1 Cam B\n2 In 3\n\n");
        QCOMPARE(a.next(3), (QList<QStringList>{Ack, {InputLabels, "0 Cam A", "1 Cam B"}, {InputLabels, "2 In 3"}}));
        QCOMPARE(b->next(1), (QList<QStringList>{{InputLabels, "0 Cam A", "1 Cam B"}}));
        a.send("OUTPUT LABELS:\n4 Monitor\n\n");
        QCOMPARE(a.next(2), (QList<QStringList>{Ack, {"OUTPUT LABELS:", "4 -"}}));
        b->send("PING:\n\n");
        QCOMPARE(b->next(1), QList<QStringList>{Ack});
    }

    // 32 clients are served, the 33rd is closed at once; a client outside
    // the allow list too. A client that closes its sending side still hears
    // the answer to what it sent and is then closed, its routes still taken. Its
    // place is free again: out of descriptors, accepting fails, the server
    // rests instead of spinning (the event loop sleeps through the rest: it
    // wakes a few times, not at every failed accept), says so, and accepts
    // the client waiting once it can.
    void clientBounds()
    {
        ServerRig rig(QStringLiteral("127.0.0.1/32"));
        std::vector<std::unique_ptr<VideohubPeer>> peers;
        for (int i = 0; i < serverlimits::VideohubClients; ++i)
            peers.push_back(rig.connect());
        QCOMPARE(peers.back()->blocks().size(), VideohubPeer::DumpBlocks);
        for (const QHostAddress &from : {QHostAddress(QHostAddress::LocalHost), B}) {
            VideohubPeer turnedAway(rig.server->port(), from);
            QVERIFY(turnedAway.waitForClose());
            QVERIFY(turnedAway.received().isEmpty());
        }
        VideohubPeer &leaving = *peers.back();
        leaving.send("VIDEO OUTPUT ROUTING:\n0 1\n1 1\n\n");
#ifdef Q_OS_UNIX
        QVERIFY(leaving.socket.flush());
        QCOMPARE(::shutdown(int(leaving.socket.socketDescriptor()), SHUT_WR), 0);
        QCOMPARE(leaving.next(1), QList<QStringList>{Ack});
        QVERIFY(leaving.waitForClose());
#endif
        peers.pop_back();
        QTRY_COMPARE(rig.server->connectedCount(), serverlimits::VideohubClients - 1);
        VideohubPeer waiting(rig.server->port());
#ifdef Q_OS_UNIX
        QVERIFY(waiting.socket.waitForConnected(10000));
        {
            const NoFreeDescriptors exhausted;
            QTRY_VERIFY_WITH_TIMEOUT(
                rig.panel.statusSink.messages.constLast().startsWith("Videohub server cannot accept clients"), 10000);
            int wakes = 0;
            const auto counting = QObject::connect(QAbstractEventDispatcher::instance(),
                                                   &QAbstractEventDispatcher::awake, [&wakes] { ++wakes; });
            QTest::qWait(desktop::TcpListener::RestMs / 2);
            QObject::disconnect(counting);
            QCOMPARE_LT(wakes, 500);
        }
#endif
        QCOMPARE(waiting.next(VideohubPeer::DumpBlocks).size(), VideohubPeer::DumpBlocks);
        QTRY_COMPARE(rig.panel.taken.size(), 2);
    }

    // A client that floods without reading is closed once its unread
    // answers pass the bound; another client's route is served meanwhile.
    // Clients that read are never closed however much one of them renames:
    // the renames wait for the pushes to be taken instead.
    void floodsHoldUpNobody()
    {
        ServerRig rig;
        auto flooder = rig.connect();
        // It reads nothing: the peer reads in its readyRead handler, and Qt
        // takes no more than a kilobyte from the system for it.
        flooder->socket.setReadBufferSize(1024);
        flooder->socket.blockSignals(true);
        // Requests whose answers are ten times their size, and garbage.
        constexpr int Blocks = 200'000;
        QByteArray garbage;
        for (int i = 0; i < Blocks; ++i)
            garbage += i % 7 ? QByteArrayLiteral("VIDEOHUB DEVICE:\n\n") : QByteArrayLiteral("\xff\x00 x\n\n");
        flooder->send(garbage);
        auto reader = rig.connect(B);
        reader->send("VIDEO OUTPUT ROUTING:\n0 1\n\n");
        QCOMPARE(reader->next(2), (QList<QStringList>{Ack, {Routing, "0 1"}}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.server->connectedCount(), 1, 10000);
        flooder->socket.setReadBufferSize(0);
        flooder->socket.blockSignals(false);
        QVERIFY(flooder->waitForClose());
        QCOMPARE_LT(flooder->blocks().size(), Blocks);

        auto renamer = rig.connect();
        // Six outputs renamed, a kilobyte a name, by each of 600 blocks: 3.6 MB pushed to each client.
        constexpr int Renames = 600;
        QByteArray flood;
        for (int i = 0; i < Renames; ++i) {
            flood += "OUTPUT LABELS:\n";
            for (const int port : {0, 1, 2, 3, 6, 7})
                flood += QByteArray::number(port) + ' ' + QByteArray::number(i) + QByteArray(1000, 'a' + port) + '\n';
            flood += '\n';
        }
        renamer->send(flood);
        const QStringList last = reader->next(Renames).constLast();
        QCOMPARE(last.size(), 7);
        QCOMPARE(last[1], QString("0 599" + QString(1000, u'a')));
        QCOMPARE(renamer->next(2 * Renames).constLast(), last);
        QCOMPARE(rig.server->connectedCount(), 2);
    }

    // A client that sends nothing for the idle limit is closed, one that
    // pings is not.
    void idleClientsAreClosed()
    {
        ServerRig rig({}, 400);
        auto quiet = rig.connect();
        QCOMPARE(quiet->blocks().size(), VideohubPeer::DumpBlocks);
        auto talker = rig.connect(B);
        QTimer ping;
        QObject::connect(&ping, &QTimer::timeout, [&] { talker->send("PING:\n\n"); });
        ping.start(100);
        QVERIFY(quiet->waitForClose());
        QCOMPARE(talker->socket.state(), QAbstractSocket::ConnectedState);
        QCOMPARE(rig.server->connectedCount(), 1);
    }

    // The user's settings file, where the README says it is, turns the server on.
    void settingsFileInTheUsersConfigFolder()
    {
        FakeRemotePanel panel(1, 1);
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const QString where = QStringLiteral("127.0.0.1:%1").arg(probe.serverPort());
        probe.close();
        QSettings(config.filePath(QStringLiteral("Velmora/velmora.conf")), QSettings::IniFormat)
            .setValue(QStringLiteral("videohub/listen"), where);
        const auto server = VideohubServer::fromArguments(panel, {});
        qunsetenv("XDG_CONFIG_HOME");
        QVERIFY(server);
        QCOMPARE(server->where(), where);
    }
};

QTEST_GUILESS_MAIN(TestVideohubServer)
#include "tst_videohubserver.moc"
