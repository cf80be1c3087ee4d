#include "remote/ServerLimits.h"
#include "remote/swp08/FrameWriter.h"
#include "remote/swp08/Swp08Server.h"
#include "support/DataRows.h"
#include "support/FakeRemotePanel.h"
#include "support/Swp08Peer.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// The SW-P-08 server's rules, in process, against a panel in memory: 4
// inputs, 8 outputs (more for the salvo bound), output 4 (from 0) served
// by no router; output 1 known on video from input 2, output 2 on
// audio from input 1; output 3 locked by another machine. Messages are
// written as their DATA in hex.

using namespace swp08;

namespace {

const QHostAddress A(QStringLiteral("127.0.0.1"));
const QHostAddress B(QStringLiteral("127.0.0.2"));
const QString Ack = QStringLiteral("ACK");

struct ServerRig
{
    FakeRemotePanel panel;
    std::unique_ptr<Swp08Server> server;
    bool listening = false;

    explicit ServerRig(int outputs = 8, const QString &allow = {}, qint64 idleLimitMs = serverlimits::IdleLimitMs,
                       const QHostAddress &address = QHostAddress(QHostAddress::LocalHost))
        : panel(4, outputs)
    {
        panel.state.outputNames[4] = QString();
        panel.state.sources[1].video = 2;
        panel.state.sources[2].audio = 1;
        panel.state.lockOwners[3] = QStringLiteral("192.0.2.9");
        ServerOptions options; // loopback, a port the system picks
        if (!allow.isEmpty())
            options.allow.append(QHostAddress::parseSubnet(allow));
        options.idleLimitMs = idleLimitMs;
        options.address = address;
        server = std::make_unique<Swp08Server>(panel, options);
        listening = server->listen();
    }

    std::unique_ptr<Swp08Peer> connect(const QHostAddress &from = A)
    {
        auto peer = std::make_unique<Swp08Peer>(server->port(), from);
        (void)peer->socket.waitForConnected(10000);
        return peer;
    }
};

} // namespace

class TestSwp08Server : public QObject
{
    Q_OBJECT

private slots:
    // Questions answered from the panel as it stands, after the ACK; what
    // names a matrix, level or port that does not exist gets the ACK alone.
    void answers_data()
    {
        columns<QByteArray, QStringList>({"sent", "expected"});
        const auto row = [](const char *name, const char *data, const QStringList &answers) {
            QTest::newRow(name) << FrameWriter::frame(QByteArray::fromHex(data)) << QStringList{Ack} + answers;
        };
        // clang-format off
        row("interrogate, source unknown", "01 00 00 00", {"03 00 07 00 7f"});
        row("another matrix", "01 10 00 01", {});
        row("destination past the matrix", "01 00 00 08", {});
        row("tally dump of a level the panel lacks", "15 05", {"16 05 00 00"});
        row("extended tally dump", "95 00 01", {"97 00 01 01 00 02 00 01"});
        row("source names", "64 00 00", {"6a 00 00 00 00 04 " + QByteArray("In 1In 2In 3In 4").toHex(' ')});
        row("unserved destination name", "67 00 01 00 04", {"6b 00 01 00 04 01 " + QByteArray("-       ").toHex(' ')});
        row("source name past the matrix", "65 00 00 00 04", {});
        row("source names of another level", "64 02 00", {});
        row("protect dump", "13 00 00 02", {"14 00 06 00 02 00 00 20 00 00 00 00 00 00 00 00 00"});
        row("empty salvo group", "7c 05 00", {"7d 00 00 00 00 05 00 02"});
        row("command not implemented", "7f", {});
        // clang-format on
        QTest::newRow("wrong checksum") << QByteArray::fromHex("1002010000010300 1003") << QStringList{"NAK"};
    }

    void answers()
    {
        const auto [sent, expected] = fetch<QByteArray, QStringList>({"sent", "expected"});
        ServerRig rig;
        QVERIFY(rig.listening);
        auto peer = rig.connect();
        peer->sendRaw(sent + FrameWriter::frame(QByteArray::fromHex("61")));
        // The implementation request after it shows that nothing else came.
        QCOMPARE(peer->next(expected.size() + 2).first(expected.size()), expected);
        QVERIFY(peer->received().constLast().startsWith("62 19 1c 03 04"));
        QVERIFY(rig.panel.taken.isEmpty());
    }

    // A connect is taken on its level with the client as its origin; once
    // acknowledged every client hears it, the sender in the form it asked,
    // the others in their own (extended after their first extended request).
    // Routes made elsewhere are told per level. A failed route is told to
    // the sender alone, as a tally of the unchanged source.
    // Protects are the panel's locks, held by the client's address: its
    // own seen as 3, another's as 2, with the device number that made it.
    // Changes go to everyone on both levels; a refused or idle request is
    // answered to the sender alone; a route to another's protect fails.
    void connectsAndProtectsAreAnnouncedInEachClientsForm()
    {
        ServerRig rig;
        auto a = rig.connect();
        auto b = rig.connect(B);
        QCOMPARE(b->ask("81 00 00 00 01", 2), (QStringList{Ack, "83 00 00 00 01 00 02 00"}));
        QCOMPARE(a->ask("02 00 00 01 03", 2), (QStringList{Ack, "04 00 00 01 03"}));
        QCOMPARE(b->next(1), QStringList{"84 00 00 00 01 00 03 00"});
        QCOMPARE(rig.panel.taken, QStringList{QStringLiteral("swp08 127.0.0.1:%1 1 3 1").arg(a->socket.localPort())});
        QCOMPARE(b->ask("02 01 00 02 01", 2), (QStringList{Ack, "04 01 00 02 01"}));
        QCOMPARE(a->next(1), QStringList{"04 01 00 02 01"});
        QCOMPARE(rig.panel.taken.constLast(), QStringLiteral("swp08 127.0.0.2:%1 2 1 2").arg(b->socket.localPort()));

        (void)rig.panel.takeRoute(6, 2, 3, RouteSource{});
        QCOMPARE(a->next(2), (QStringList{"04 00 00 06 02", "04 01 00 06 02"}));
        QCOMPARE(b->next(2), (QStringList{"84 00 00 00 06 00 02 00", "84 00 01 00 06 00 02 00"}));

        rig.panel.refusing = {0};
        QCOMPARE(a->ask("02 00 00 00 01", 2), (QStringList{Ack, "03 00 07 00 7f"}));
        QCOMPARE(a->ask("02 00 00 01 00", 2), (QStringList{Ack, "04 00 00 01 00"}));
        QCOMPARE(b->next(1), QStringList{"84 00 00 00 01 00 00 00"});

        // A protects output 6 (input 2 on both levels); B hears it extended.
        QCOMPARE(a->ask("0c 00 00 06 05", 3), (QStringList{Ack, "0d 00 03 00 06 05", "0d 01 03 00 06 05"}));
        QCOMPARE(b->next(2), (QStringList{"8d 00 00 02 00 06 00 05", "8d 00 01 02 00 06 00 05"}));
        QCOMPARE(b->ask("0e 00 00 06 00", 2), (QStringList{Ack, "0f 00 02 00 06 05"}));
        QCOMPARE(b->ask("02 00 00 06 00", 2), (QStringList{Ack, "03 00 00 06 02"}));
        QCOMPARE(a->ask("0c 01 00 06 07", 2), (QStringList{Ack, "0d 01 03 00 06 05"}));
        QCOMPARE(b->ask("8a 00 00 00 06", 2), (QStringList{Ack, "8b 00 00 02 00 06 00 05"}));
        QCOMPARE(a->ask("0e 01 00 06 00", 3), (QStringList{Ack, "0f 00 00 00 06 00", "0f 01 00 00 06 00"}));
        QCOMPARE(b->next(2), (QStringList{"8f 00 00 00 00 06 00 00", "8f 00 01 00 00 06 00 00"}));
        // A lock of another protocol from the same machine is this client's, with no device.
        (void)rig.panel.applyLocks({{2, LockAction::Lock}}, {QStringLiteral("videohub"), A.toString()});
        QCOMPARE(a->next(2), (QStringList{"0d 00 03 00 02 00", "0d 01 03 00 02 00"}));
    }

    // Each client's groups: a store for a destination and level already
    // held replaces its source in place; a go takes the routes in order,
    // one per turn with the other clients, then GO DONE; clear empties.
    void salvoGroups()
    {
        ServerRig rig(65);
        auto a = rig.connect();
        auto b = rig.connect(B);
        for (const char *store : {"78 00 00 01 03 04", "f8 00 01 00 02 00 01 04", "78 00 00 01 02 04"})
            QCOMPARE(a->ask(store, 2).constLast(),
                     QString::fromLatin1(store).replace(0, 2, store[0] == 'f' ? "fa" : "7a"));
        QCOMPARE(a->ask("7c 04 00", 2), (QStringList{Ack, "7d 00 00 01 02 04 00 00"}));
        QCOMPARE(a->ask("fc 04 00 01", 2), (QStringList{Ack, "fd 00 01 00 02 00 01 04 00 01 01"}));
        QCOMPARE(b->ask("79 00 04", 2), (QStringList{Ack, "7b 02 04"}));
        QCOMPARE(a->ask("79 00 04", 4), (QStringList{Ack, "04 00 00 01 02", "84 00 01 00 02 00 01 00", "7b 00 04"}));
        QCOMPARE(b->next(2), (QStringList{"04 00 00 01 02", "04 01 00 02 01"}));
        QCOMPARE(a->ask("79 01 04", 2), (QStringList{Ack, "7b 01 04"}));
        QCOMPARE(a->ask("79 01 04", 2), (QStringList{Ack, "7b 02 04"}));

        // 65 destinations on two levels: the 129th entry is not stored.
        QByteArray stores;
        for (int entry = 0; entry < 129; ++entry)
            stores += FrameWriter::frame(QByteArray::fromHex("78") + char(entry % 2) + char(0) + char(entry / 2) +
                                         char(0) + char(9));
        a->sendRaw(stores);
        QCOMPARE(a->next(2 * 128 + 1).constLast(), Ack);
        const qsizetype before = rig.panel.taken.size();
        a->send("79 00 09");
        QCOMPARE(b->ask("02 00 00 07 01", 3).constLast(), "04 00 00 07 01");
        // 128 routes of its own, B's route among them, then GO DONE.
        QCOMPARE(a->next(131).constLast(), "7b 00 09");
        // B's one route waits for a few of A's at most, however many A has waiting.
        QCOMPARE_LT(rig.panel.taken.indexOf(QRegularExpression("^swp08 127.0.0.2.* 7 1 1$")), before + 16);
    }

    // A client that floods without reading is no longer read once its unread
    // answers pass the bound (from the watch's look that finds it behind to
    // the next, which closes it, none of its requests is handled); another
    // client is served meanwhile. 32 clients are served, the 33rd is closed
    // at once; a client outside the allow list too.
    void clientBounds()
    {
        ServerRig rig(8, QStringLiteral("127.0.0.1/32"));
        auto flooder = rig.connect();
        // It reads nothing: the peer reads in its readyRead handler, and Qt
        // takes no more than a kilobyte from the system for it.
        flooder->socket.setReadBufferSize(1024);
        flooder->socket.blockSignals(true);
        // Implementation requests, whose answers are nine times their size,
        // with an interrogate (a matrix read) every hundred to count them by.
        QList<int> readsAtLooks;
        QObject::connect(rig.server->findChild<QTimer *>(QStringLiteral("watch")), &QTimer::timeout,
                         [&] { readsAtLooks.append(rig.panel.matrixReads); });
        const QByteArray hundred = FrameWriter::frame(QByteArray::fromHex("61")).repeated(99) +
                                   FrameWriter::frame(QByteArray::fromHex("01 00 00 01"));
        flooder->sendRaw(hundred.repeated(3000));
        auto other = rig.connect();
        QCOMPARE(other->ask("02 00 00 00 01", 2), (QStringList{Ack, "04 00 00 00 01"}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.server->connectedCount(), 1, 10000);
        QCOMPARE(readsAtLooks.constLast(), readsAtLooks.value(readsAtLooks.size() - 2));

        // The other client and 31 more.
        std::vector<std::unique_ptr<Swp08Peer>> peers;
        for (int i = 1; i < serverlimits::Swp08Clients; ++i)
            peers.push_back(rig.connect());
        QTRY_COMPARE(rig.server->connectedCount(), serverlimits::Swp08Clients);
        QVERIFY(rig.connect()->waitForClose());
        QVERIFY(rig.connect(B)->waitForClose());
    }

    // Past the idle limit, the client silent longest gives up its place to a
    // new client that needs one, not to one the allow list turns away; the
    // others keep theirs, also through the watch's looks: silence alone
    // closes nobody. (On [::], which takes the IPv4 clients too.)
    void theQuietestClientGivesUpItsPlace()
    {
        ServerRig rig(8, QStringLiteral("127.0.0.1/32"), 1, QHostAddress(QStringLiteral("::")));
        std::vector<std::unique_ptr<Swp08Peer>> peers;
        for (int i = 0; i < serverlimits::Swp08Clients; ++i)
            peers.push_back(rig.connect());
        for (int i = 0; i < serverlimits::Swp08Clients; ++i) {
            if (i != 1)
                QCOMPARE(peers[i]->ask("01 00 00 01", 2).value(0), Ack);
        }
        QVERIFY(rig.connect(B)->waitForClose());
        QCOMPARE(rig.server->connectedCount(), serverlimits::Swp08Clients);
        auto late = rig.connect();
        QVERIFY(peers[1]->waitForClose());
        QCOMPARE(late->ask("01 00 00 01", 2), (QStringList{Ack, "03 00 00 01 02"}));
        QCOMPARE(rig.server->connectedCount(), serverlimits::Swp08Clients);
        QSignalSpy looks(rig.server->findChild<QTimer *>(QStringLiteral("watch")), &QTimer::timeout);
        QTRY_COMPARE_WITH_TIMEOUT(looks.size(), 2, 3 * Swp08Server::WatchMs);
        QCOMPARE(rig.server->connectedCount(), serverlimits::Swp08Clients);
    }

    // Requests are read a turn's worth at a time: a burst of cheap ones holds
    // another client up by a few turns at most, and what a client that has
    // gone left unread is dropped, not answered.
    void burstsAreReadInTurns()
    {
        ServerRig rig;
        auto flooder = rig.connect();
        flooder->socket.blockSignals(true);
        flooder->sendRaw(FrameWriter::frame(QByteArray::fromHex("01 00 00 01")).repeated(300'000));
        QVERIFY(flooder->socket.flush());
        auto other = rig.connect();
        QCOMPARE(other->ask("01 00 00 01", 2), (QStringList{Ack, "03 00 00 01 02"}));
        QCOMPARE_LT(rig.panel.matrixReads, 2000);

        flooder->socket.abort();
        const int readsAtTheEnd = rig.panel.matrixReads;
        QTRY_COMPARE(rig.server->connectedCount(), 1);
        QCOMPARE(other->ask("01 00 00 01", 2), (QStringList{Ack, "03 00 00 01 02"}));
        QCOMPARE_LT(rig.panel.matrixReads - readsAtTheEnd, 10 * serverlimits::RequestsPerTurn);
    }
};

QTEST_GUILESS_MAIN(TestSwp08Server)
#include "tst_swp08server.moc"
