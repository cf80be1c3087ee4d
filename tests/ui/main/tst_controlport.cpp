#include "WindowRig.h"
#include "remote/ControlSocketName.h"

#include <QFile>
#include <QLocalSocket>
#include <QSet>
#include <memory>

// The running panel driven through its control port: the answers, the frames
// on the simulator, the route state and the markers on screen.

namespace {

constexpr int Timeout = 20000;

// One script's connection, collecting answer lines as they come.
struct Client
{
    QLocalSocket socket;
    QStringList answers;

    Client()
    {
        QObject::connect(&socket, &QLocalSocket::readyRead, [this] {
            while (socket.canReadLine())
                answers.append(QString::fromUtf8(socket.readLine()).chopped(1));
        });
        socket.connectToServer(controlSocketName());
    }

    void send(const QByteArray &bytes) { socket.write(bytes); }

    // The answers once count of them have come (bounded wait).
    QStringList waitFor(qsizetype count)
    {
        (void)QTest::qWaitFor([&] { return answers.size() >= count; }, Timeout);
        return answers;
    }
};

QString route(int router, int input, int output)
{
    return QStringLiteral("router=%1 input=%2 output=%3").arg(router).arg(input).arg(output);
}

clsRouteState &stateOf(int phyOut)
{
    return Globals().Routers[0]->RouteState(phyOut);
}

} // namespace

class TestControlPort : public QObject
{
    Q_OBJECT

private slots:
    void routeMovesTheMarkersAndIsRecorded_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("disc");
        QTest::addColumn<QString>("state");
        QTest::newRow("both levels by default") << QByteArray("route 0 4 2\n") << 3 << "video 2 audio 2";
        QTest::newRow("video only, CR LF line end") << QByteArray("route 0 4 2 1\r\n") << 1 << "video 2 audio -1";
        QTest::newRow("audio only, extra blanks") << QByteArray("  route\t0  4 2   2 \n") << 2 << "video -1 audio 2";
    }

    void routeMovesTheMarkersAndIsRecorded()
    {
        QFETCH(QByteArray, command);
        WindowRig rig;
        rig.useRouter();
        QVERIFY(rig.startSim());
        rig.open();
        rig.click(QStringLiteral("btnRecord"));

        Client client;
        client.send(command + "state 0 4\n");
        QFETCH(QString, state);
        QCOMPARE(client.waitFor(2), (QStringList{"ok", state}));
        QCOMPARE(rig.routes(), QStringList{route(0, 2, 4)});
        QTEST(rig.disc(2, 4), "disc");
        QCOMPARE(Globals().RecordedRoutes.size(), 1);
    }

    void failuresAnswerTheStatusMessage_data()
    {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("frames");
        const QStringList acking{"--no-pacing"};
        QTest::newRow("refused") << QStringList{"--no-pacing", "--answer", "0=code:21"} << QByteArray("route 0 1 2")
                                 << "error Router returned 21" << 1;
        QTest::newRow("silent router") << QStringList{"--no-pacing", "--routers", "1"} << QByteArray("route 0 1 2")
                                       << "error No reply from the router" << 1;
        QTest::newRow("no router there") << acking << QByteArray("route 5 1 2") << "error No router at frame address 5"
                                         << 0;
        QTest::newRow("beyond the router's ports")
            << acking << QByteArray("route 0 1 40") << "error Unassigned crosspoint" << 0;
        QTest::newRow("unassigned macro") << acking << QByteArray("macro 7") << "error Macro 7 is unassigned" << 0;
        QTest::newRow("macro goes on past a refusal")
            << QStringList{"--no-pacing", "--answer", "0=code:21"} << QByteArray("macro 0")
            << "error Router returned 21; Router returned 21; No router at frame address 9" << 2;
        QTest::newRow("state of a missing output")
            << acking << QByteArray("state 0 16") << "error No output 16 at frame address 0" << 0;
        QTest::newRow("unknown command") << acking << QByteArray("take 0 1 2") << "error unknown command" << 0;
        QTest::newRow("level 4") << acking << QByteArray("route 0 1 2 4") << "error usage: route FA OUT IN [LEVEL]"
                                 << 0;
        QTest::newRow("port not a number")
            << acking << QByteArray("route 0 one 2") << "error usage: route FA OUT IN [LEVEL]" << 0;
        QTest::newRow("slot 12") << acking << QByteArray("macro 12") << "error usage: macro SLOT" << 0;
        QTest::newRow("state without output") << acking << QByteArray("state 0") << "error usage: state FA OUT" << 0;
        QTest::newRow("NUL byte") << acking << QByteArray("route\0 0 1 2", 12) << "error unknown command" << 0;
        QTest::newRow("binary bytes") << acking << QByteArray("\xff\xfe route") << "error line is not UTF-8" << 0;
        QTest::newRow("over-long line") << acking << QByteArray(1025, 'x') << "error line too long" << 0;
    }

    void failuresAnswerTheStatusMessage()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(QByteArray, command);
        QFETCH(int, frames);
        WindowRig rig;
        rig.useRouter();
        const auto setup = rig.setup;
        rig.setup = [setup] {
            setup();
            Globals().RouterTimeout = 0.3f;
            Globals().Macros[0] = QList<RouteRecord>{RouteRecord::pack(0, 3, 1, 3), RouteRecord::pack(9, 1, 1, 3),
                                                     RouteRecord::pack(0, 4, 2, 3)};
        };
        QVERIFY(rig.startSim(simArgs));
        rig.open();

        Client client;
        // The connection stays open after any answer: the next command is served.
        client.send(command + "\nstate 0 1\n");
        QFETCH(QString, answer);
        QCOMPARE(client.waitFor(2), (QStringList{answer, "video -1 audio -1"}));
        QVERIFY(rig.sim.waitForFrames(frames));
        QCOMPARE(rig.sim.frames().size(), frames);
    }

    void namesListsTheRouters()
    {
        WindowRig rig;
        rig.setup = [] {
            addRouter(Globals(), 0, 1, 0).setRouterInName(1, QStringLiteral("Cam 2"));
            addRouter(Globals(), 3, 0, 0);
            Globals().ConfigLoaded = true;
        };
        rig.open();
        Client client;
        client.send("names\n");
        const QStringList answers = client.waitFor(3);
        QCOMPARE(answers, (QStringList{Globals().Routers[0]->StringVal(), Globals().Routers[3]->StringVal(), "end"}));
        QVERIFY(answers.constFirst().contains(QStringLiteral("Cam 2")));
    }

    // A line left without its end holds up nobody else; completed, it is served.
    void partialLineWaitsForItsEnd()
    {
        WindowRig rig;
        rig.useRouter();
        QVERIFY(rig.startSim());
        rig.open();
        Client slow;
        Client other;
        slow.send("route 0 1");
        QTRY_VERIFY_WITH_TIMEOUT(slow.socket.bytesToWrite() == 0, Timeout);
        other.send("route 0 3 4\n");
        QCOMPARE(other.waitFor(1), QStringList{"ok"});
        QVERIFY(slow.answers.isEmpty());
        slow.send(" 2\n");
        QCOMPARE(slow.waitFor(1), QStringList{"ok"});
        QCOMPARE(rig.routes(), (QStringList{route(0, 4, 3), route(0, 2, 1)}));
    }

    // Commands already sent are carried out once: the client's leaving only drops the answers.
    void clientLeavingWhileItsRouteWaits()
    {
        WindowRig rig;
        rig.useRouter();
        QVERIFY(rig.startSim({}));
        rig.open();
        {
            Client leaving;
            leaving.send("route 0 1 2\nroute 0 3 4\n");
            QVERIFY(leaving.socket.waitForBytesWritten(Timeout));
            QVERIFY(rig.sim.waitForFrames(1));
            leaving.socket.abort();
        }
        QVERIFY(rig.sim.waitForFrames(2));
        Client next;
        next.send("state 0 1\nstate 0 3\n");
        QCOMPARE(next.waitFor(2), (QStringList{"video 2 audio 2", "video 4 audio 4"}));
        QCOMPARE(rig.routes(), (QStringList{route(0, 2, 1), route(0, 4, 3)}));
    }

    // Read one at a time, the lines of one big write all get their answers, in order.
    void manyCommandsInOneWrite()
    {
        constexpr int Commands = 1000;
        WindowRig rig;
        rig.useRouter();
        rig.open();
        Client client;
        QByteArray burst;
        QStringList expected;
        for (int i = 0; i < Commands; ++i) {
            burst += i % 2 ? "state 0 1\n" : "nonsense\n";
            expected.append(i % 2 ? QStringLiteral("video -1 audio -1") : QStringLiteral("error unknown command"));
        }
        client.send(burst);
        QCOMPARE(client.waitFor(Commands), expected);
    }

    void fiftyClientsAtOnce()
    {
        constexpr int Clients = 50;
        WindowRig rig;
        rig.useRouter(63, 63);
        QVERIFY(rig.startSim());
        rig.open();
        std::vector<std::unique_ptr<Client>> clients;
        QSet<QString> expected;
        for (int i = 0; i < Clients; ++i) {
            clients.push_back(std::make_unique<Client>());
            clients.back()->send(QStringLiteral("route 0 %1 %2\n").arg(i).arg(i + 1).toUtf8());
            expected.insert(route(0, i + 1, i));
        }
        for (int i = 0; i < Clients; ++i)
            QCOMPARE(clients[std::size_t(i)]->waitFor(1), QStringList{"ok"});
        const QStringList routes = rig.routes();
        QCOMPARE(routes.size(), Clients);
        QCOMPARE(QSet<QString>(routes.begin(), routes.end()), expected);
        for (int i = 0; i < Clients; ++i)
            QCOMPARE(stateOf(i).Video(), i + 1);
    }

    void secondPanelLeavesTheSocketAlone()
    {
        WindowRig rig;
        rig.open();
        const QString name = controlSocketName();
        QVERIFY(name.startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/')));
        QVERIFY(!(QFile::permissions(name) &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther)));

        frmMainMatrix second{frmMainMatrix::Services{}};
        QCOMPARE(second.statusLine().text(), QStringLiteral("Control port in use by another Velmora panel"));
        Client client;
        client.send("state 0 0\n");
        QCOMPARE(client.waitFor(1), QStringList{"error No router at frame address 0"});
    }

    void staleSocketIsReplaced()
    {
        const QString name = controlSocketName();
        QFile stale(name);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        WindowRig rig;
        rig.open();
        QVERIFY(rig.window->statusLine().text().isEmpty());
        Client client;
        client.send("names\n");
        QCOMPARE(client.waitFor(1), QStringList{"end"});
    }
};

QTEST_MAIN(TestControlPort)
#include "tst_controlport.moc"
