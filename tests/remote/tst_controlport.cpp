#include "desktop/RuntimeFolder.h"
#include "desktop/WholeFile.h"
#include "remote/ServerLimits.h"
#include "remote/control/ControlPort.h"
#include "remote/control/ControlSocketName.h"
#include "support/NoFreeDescriptors.h"
#include "support/PanelRig.h"
#include "support/RecordingStatusSink.h"
#include "support/RuntimeSetting.h"

#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <list>
#include <memory>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

// The running panel, without a window, driven through its control port: the
// answers, the frames on the simulator, the route state and the markers.

namespace {

constexpr int Timeout = 20000;
const QString Busy = QStringLiteral("Control port busy: commands turned away");

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

    // The answers once count of them have come (bounded wait), woken by
    // each arrival: a polling wait would sleep between the commands the port
    // serves one a turn.
    QStringList waitFor(qsizetype count)
    {
        QSignalSpy arrived(&socket, &QLocalSocket::readyRead);
        while (arrived.isValid() && answers.size() < count && arrived.wait(Timeout)) {
        }
        return answers;
    }

    QStringList ask(const QByteArray &bytes, qsizetype count)
    {
        socket.write(bytes);
        return waitFor(count);
    }
};

// Writes bytes on a connection of their own and leaves once all are sent.
[[nodiscard]] bool writeAndLeave(const QByteArray &bytes)
{
    Client leaving;
    leaving.socket.write(bytes);
    return QTest::qWaitFor([&] { return leaving.socket.bytesToWrite() == 0; }, Timeout);
}

// A panel listening on its control port, started as the program starts it.
struct PortRig : PanelRig
{
    std::unique_ptr<ControlPort> port;

    void open()
    {
        port.reset();
        build();
        port = std::make_unique<ControlPort>(*door, *panel);
        port->listen();
        panel->Form_Load([this] { runSetup(); });
    }

    // One router at frame address 0, the simulator acknowledging every
    // route at once; false when the simulator did not start.
    [[nodiscard]] bool openOnSim()
    {
        useRouter();
        const bool started = startSim();
        open();
        return started;
    }

    // The mark cell (r, c) shows: 0 grey, 1 red, 2 yellow, 3 blue.
    [[nodiscard]] int disc(int r, int c) const { return int(panel->display().mark(r * 16 + c)); }
};

} // namespace

class TestControlPort : public QObject
{
    Q_OBJECT

private slots:
    // Input 2 to outputs 4, 5 and 6 at both levels, video only and audio
    // only, as a script may write them, among lines that are no command or
    // ask for what is not there: each is answered in its place, and only the
    // routes go on the line, move the markers, are recorded and logged. The
    // script shuts its writing side (piping into the socket) and still reads
    // every answer, then the end.
    void linesAreAnsweredInTheirPlaces()
    {
        const QString usage = QStringLiteral("error usage: route FA OUT IN [LEVEL]");
        const QString stateUsage = QStringLiteral("error usage: state FA OUT");
        // clang-format off
        const QList<std::pair<QByteArray, QString>> lines{
            {"route 0 4 2", "ok"}, {"route 0 5 2 1\r", "ok"}, {"  route\t0  6 2   2 ", "ok"},
            {"state 0 4", "video 2 audio 2"}, {"state 0 5", "video 2 audio -1"}, {"state 0 6", "video -1 audio 2"},
            {"macro 7", "error Macro 7 is unassigned"}, {"state 0 16", "error No output 16 at frame address 0"},
            {"take 0 1 2", "error unknown command"}, {"macro 12", "error usage: macro SLOT"},
            {"route 0 1 2 0", usage}, {"route 0 1 2 4", usage}, {"route 0 one 2", usage},
            {QByteArray("route\0 0 1 2", 12), usage}, {"state 0", stateUsage}, {"state 0 1\r2", stateUsage},
            {QByteArray("state 0 2").leftJustified(1024, ' ') + '\r', "video -1 audio -1"},
            {QByteArray(1025, 'x') + '\r', "error line too long"}, {"\xff\xfe route", "error line is not UTF-8"}};
        // clang-format on
        PortRig rig;
        QVERIFY(rig.openOnSim());
        rig.panel->macros().btnRecord_Click();
        QByteArray bytes;
        QStringList answers;
        for (const auto &[line, answer] : lines) {
            bytes += line + '\n';
            answers << answer;
        }
        {
            Client client;
            client.socket.write(bytes);
#ifdef Q_OS_UNIX
            QVERIFY(QTest::qWaitFor([&] { return client.socket.bytesToWrite() == 0; }, Timeout));
            QCOMPARE(::shutdown(int(client.socket.socketDescriptor()), SHUT_WR), 0);
#endif
            QCOMPARE(client.waitFor(answers.size()), answers);
#ifdef Q_OS_UNIX
            QTRY_COMPARE_WITH_TIMEOUT(client.socket.state(), QLocalSocket::UnconnectedState, Timeout);
#endif
        }
        QCOMPARE(rig.routes(), (QStringList{route(0, 2, 4), route(0, 2, 5), route(0, 2, 6)}));
        QCOMPARE((QList<int>{rig.disc(2, 4), rig.disc(2, 5), rig.disc(2, 6)}), (QList<int>{3, 1, 2}));
        QCOMPARE(rig.panel->recorder().RecordedRoutes.size(), 3);
        QCOMPARE(rig.log().count("\troute "), 3);

        // Lines beyond a client's 1,000 queued are answered "error busy" in
        // their places; the client past the 64th is turned away; the status
        // line says so once. A client that leaves makes room. (The macro
        // waits for the line, but is answered without going out on it.)
        QStringList expected(1000, QStringLiteral("error Macro 7 is unassigned"));
        expected += QStringList(2, QStringLiteral("error busy"));
        std::list<Client> clients(1);
        QCOMPARE(clients.back().ask(QByteArray("macro 7\n").repeated(1002), 1002), expected);
        QCOMPARE(rig.panel->statusLine().text(), Busy);

        while (clients.size() < serverlimits::ControlClients)
            QCOMPARE(clients.emplace_back().ask("state 0 0\n", 1), QStringList{"video -1 audio -1"});
        Client turnedAway;
        QCOMPARE(turnedAway.waitFor(1), QStringList{"error too many clients"});
        QTRY_COMPARE_WITH_TIMEOUT(turnedAway.socket.state(), QLocalSocket::UnconnectedState, Timeout);
        clients.pop_back();
        QTRY_VERIFY_WITH_TIMEOUT(Client().ask("state 0 0\n", 1) == QStringList{"video -1 audio -1"}, Timeout);
    }

    // While the start-up dialog is open (default.rcf already loaded), routes
    // and macros are refused and nothing goes on the line; the state and the
    // names (a line a router) are answered. Once it closes, routes go through;
    // a macro goes on past a refused route and a missing router and answers
    // all their messages, as does a route to a missing router. A macro's
    // routes are marked as a click's and logged under the slot as the file
    // numbers it; every attempt after the dialog is logged.
    void startUpDialogHoldsRoutesBack()
    {
        PortRig rig;
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "3=code:21"}));
        QStringList duringDialog;
        rig.useRouters([&rig, &duringDialog](Configuration &config) {
            addRouter(config, 0);
            addRouter(config, 3, 0, 0);
            rig.panel->macroBank().Macros[0] = QList<RouteRecord>{
                RouteRecord::pack(3, 0, 0, 3), RouteRecord::pack(9, 1, 1, 3), RouteRecord::pack(0, 3, 1, 3)};
            rig.panel->macroBank().MacroNames[0] = QStringLiteral("Show & Tell");
            duringDialog = Client().ask("route 0 4 2\nmacro 0\nstate 0 4\nnames\n", 6);
        });
        rig.open();
        const QString refused = QStringLiteral("error ") + PanelDoor::StartingUpMessage;
        const RouterSlots &routers = rig.panel->config().Routers;
        QCOMPARE(duringDialog, (QStringList{refused, refused, "video -1 audio -1", routers[0]->StringVal(),
                                            routers[3]->StringVal(), "end"}));
        QCOMPARE(Client().ask("route 0 4 2\nmacro 0\nroute 5 1 2\n", 3),
                 (QStringList{"ok", "error Router returned 21; No router at frame address 9",
                              "error No router at frame address 5"}));
        QCOMPARE(rig.routes(), (QStringList{route(0, 2, 4), route(3, 0, 0), route(0, 1, 3)}));
        QCOMPARE(rig.disc(1, 3), 3);
        QVERIFY(rig.log().contains(QStringLiteral("\tcontrol macro 00 \"Show & Tell\"\troute output=4 ")));
        QCOMPARE(rig.log().count("\troute "), 5);
    }

    // Clients whose routes wait for the line hold up a fresh client's state
    // not at all: asked while the first route waits for its (never coming)
    // reply from router 1, it is answered before any of theirs. Each then
    // gets its own. A line left without its end holds up nobody else;
    // completed, it is served. Commands sent just before leaving are all
    // carried out, once: 1,000 routes (14 KB, well over what the port reads
    // at a time), the client gone while they still go out. Clients that
    // write routes and leave, more than the port holds: what does not fit
    // its budget is turned away (the status line says so) and the port goes
    // on answering. The memory such a flood takes: bench/run.sh control.
    void linesHoldUpNobodyAndAreServedOnce()
    {
        PortRig rig;
        rig.useRouters([](Configuration &config) {
            addRouter(config, 0);
            addRouter(config.Routers, 1, 1, 1, 0, 16);
        });
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "1=silent"}));
        rig.open();
        std::list<Client> flooders(3);
        for (Client &flooder : flooders)
            flooder.socket.write("route 1 1 0\n");
        Client fresh;
        connect(&rig.sim, &RouterSim::frameLogged, &fresh.socket, [&] {
            if (rig.sim.frames().size() == 1)
                fresh.socket.write("state 1 1\n");
        });
        QTRY_COMPARE_WITH_TIMEOUT(fresh.answers, QStringList{"video -1 audio -1"}, Timeout);
        QVERIFY(std::none_of(flooders.begin(), flooders.end(), [](const Client &f) { return !f.answers.isEmpty(); }));
        for (Client &flooder : flooders)
            QCOMPARE(flooder.waitFor(1), QStringList{"error No reply from the router"});

        Client slow;
        slow.socket.write("route 0 1");
        QTRY_VERIFY_WITH_TIMEOUT(slow.socket.bytesToWrite() == 0, Timeout);
        QCOMPARE(Client().ask("route 0 3 4\n", 1), QStringList{"ok"});
        QVERIFY(slow.answers.isEmpty());
        QCOMPARE(slow.ask(" 2\n", 1), QStringList{"ok"});
        QCOMPARE(rig.routes().mid(3), (QStringList{route(0, 4, 3), route(0, 2, 1)}));

        QByteArray routes;
        for (int i = 0; i < 1000; ++i)
            routes += QStringLiteral("route 0 %1 %2\n").arg(i % 16).arg(i / 16 % 16).toUtf8();
        QVERIFY(writeAndLeave(routes));
        // Waits on the frames themselves: a polling wait would pause between routes.
        QSignalSpy logged(&rig.sim, &RouterSim::frameLogged);
        QVERIFY(logged.isValid());
        while (rig.sim.frames().size() < 1005 && logged.wait(Timeout)) {
        }
        QCOMPARE(rig.sim.frames().size(), 1005);

        // Some 2 MB booked for each client: four are twice the budget.
        const QByteArray flood = QByteArray("route 0 1 2").leftJustified(1000, ' ').append('\n').repeated(1000);
        for (int i = 0; i < 4; ++i)
            QVERIFY(writeAndLeave(flood));
        QTRY_COMPARE_WITH_TIMEOUT(rig.panel->statusLine().text(), Busy, Timeout);
        // The last of the 1,000 routes to output 0 took input 14.
        QCOMPARE(Client().ask("state 0 0\n", 1), QStringList{"video 14 audio 14"});
    }

    // A snapshot recall is its client's queue: another client's route goes
    // on the line between its routes, and a stop from a third client drops
    // the routes not yet sent; the recalling client hears each step.
    void recallTakesTurnsAndStops()
    {
        PortRig rig;
        QVERIFY(rig.openOnSim());
        QByteArray rows = "output,video,audio\n";
        for (int output = 1; output <= 6; ++output)
            rows += QByteArray::number(output) + ",5,5\n";
        QVERIFY(QDir().mkpath(rig.appFolder() + QStringLiteral("snapshots")));
        desktop::writeWholeFile(rig.appFolder() + QStringLiteral("snapshots/show.csv"), rows);
        Client recalling;
        Client other;
        Client stopping;
        connect(&rig.sim, &RouterSim::frameLogged, &stopping.socket, [&] {
            if (rig.sim.frames().size() == 4)
                stopping.socket.write("snapshot stop\n");
        });
        recalling.socket.write("snapshot recall show\n");
        other.socket.write("route 0 9 9\n");
        QCOMPARE(other.waitFor(1), QStringList{"ok"});
        QCOMPARE(stopping.waitFor(1), QStringList{"ok stopping \"show\""});
        QTRY_VERIFY_WITH_TIMEOUT(recalling.answers.size() > 1 && recalling.answers.last().startsWith(u"ok Recalled"),
                                 Timeout);
        QCOMPARE(recalling.answers.constFirst(), QStringLiteral("progress Recalling \"show\": 0 of 6 routes"));
        const qsizetype taken = rig.routes().size() - 1;
        // Held until the recall's end, the route would follow four of its routes at least.
        QVERIFY2(taken < 6 && rig.routes().indexOf(route(0, 9, 9)) <= 2, qPrintable(rig.routes().join(u'|')));
        QCOMPARE(recalling.answers.last(),
                 QStringLiteral("ok Recalled \"show\": %1 routes taken, 0 outputs locked, 0 failed").arg(taken));
    }

    // Said once for a flood, again only once all that was queued has been
    // worked off, not while some of it still waits.
    void busyIsSaidOncePerFlood()
    {
        RecordingStatusSink status;
        ControlBudget budget(status);
        QVERIFY(budget.take(serverlimits::ControlQueuedBytes));
        QVERIFY(!budget.take(1));
        // A client's full queue during the same flood.
        budget.turnedAway();
        budget.giveBack(serverlimits::ControlQueuedBytes / 2);
        QVERIFY(!budget.take(serverlimits::ControlQueuedBytes));
        // All worked off: the next flood is said again.
        budget.giveBack(serverlimits::ControlQueuedBytes / 2);
        QVERIFY(!budget.take(serverlimits::ControlQueuedBytes + 1));
        QCOMPARE(status.messages, QStringList(2, Busy));
    }

    // Whoever holds the lock owns the port. The lock and the socket file
    // left by a panel that crashed are taken over, the socket the user's
    // alone. A live panel's lock holds the port even while no socket answers
    // (that panel between its check and its listen, or listening again);
    // once that panel is gone, the waiting one takes over. Out of file
    // descriptors, accepting fails and the server closes: the panel says so
    // and listens again once descriptors are free. Where it cannot listen at
    // all, it says what to set.
    void listensWhenItCan()
    {
        // Its process is gone.
        desktop::writeWholeFile(controlPortLock()->fileName(), "2147483646\nvelmora\n\n");
        desktop::writeWholeFile(controlSocketName(), {});
        PortRig rig;
        rig.open();
        QVERIFY(rig.panel->statusLine().text().isEmpty());
        QVERIFY(controlSocketName().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/')));
        QVERIFY(!(QFile::permissions(controlSocketName()) &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther)));
        // Also the first answer, so that nothing runs for the first time
        // without descriptors: the sanitizer needs one to look at a new type.
        const QStringList answer{"error No router at frame address 5"};
        QCOMPARE(Client().ask("state 5 0\n", 1), answer);

        // Another panel's live lock.
        rig.port.reset();
        const std::unique_ptr<QLockFile> other = controlPortLock();
        QVERIFY(other->tryLock(0));
        rig.open();
        QCOMPARE(rig.panel->statusLine().text(), QStringLiteral("Control port in use by another Velmora panel"));
        QVERIFY(!QFile::exists(controlSocketName()));
        other->unlock();
        QTRY_COMPARE_WITH_TIMEOUT(rig.panel->statusLine().text(), QStringLiteral("Control port listening"), Timeout);
        QCOMPARE(Client().ask("state 5 0\n", 1), answer);
#ifdef Q_OS_UNIX
        Client refused;
        QCOMPARE(refused.socket.state(), QLocalSocket::ConnectedState);
        {
            const NoFreeDescriptors exhausted;
            QTRY_COMPARE_WITH_TIMEOUT(refused.socket.state(), QLocalSocket::UnconnectedState, Timeout);
        }
        QTRY_COMPARE_WITH_TIMEOUT(rig.panel->statusLine().text(),
                                  QStringLiteral("Control port stopped; listening again as soon as possible"), Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(rig.panel->statusLine().text(), QStringLiteral("Control port listening"), Timeout);
        QCOMPARE(Client().ask("state 5 0\n", 1), answer);
#endif

        // No private runtime folder, and the program's own blocked (a file at
        // its name): the status line names the folder tried and what to set.
        rig.port.reset();
        const RuntimeSetting setting("relative");
        desktop::writeWholeFile(desktop::ownRuntimeFolder(), {});
        rig.open();
        QCOMPARE(rig.panel->statusLine().text(),
                 QStringLiteral("Control port unavailable: no private runtime folder (%1 is not one only you may "
                                "enter); set XDG_RUNTIME_DIR to such a folder")
                     .arg(QDir::toNativeSeparators(desktop::ownRuntimeFolder())));
    }
};

QTEST_GUILESS_MAIN(TestControlPort)
#include "tst_controlport.moc"
