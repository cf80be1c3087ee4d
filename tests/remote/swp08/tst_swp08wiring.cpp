#include "remote/ControlPort.h"
#include "remote/swp08/Swp08Server.h"
#include "remote/videohub/VideohubServer.h"
#include "support/ControlAnswer.h"
#include "support/PanelRig.h"
#include "support/Swp08Peer.h"
#include "support/VideohubPeer.h"

#include <QTest>

// The SW-P-08 server wired to a running panel without a window, beside the
// Videohub server and the control port, its line on velmora-routersim:
// router 0 (4 x 4) at matrix output 1, router 1 (2 x 2, refusing every route)
// at matrix output 7. The protocol's rules are checked in process.

namespace {

const QHostAddress B(QStringLiteral("127.0.0.2"));
const QString Ack = QStringLiteral("ACK");

struct ServerRig : PanelRig
{
    std::unique_ptr<ControlPort> control;
    std::unique_ptr<swp08::Swp08Server> server;
    std::unique_ptr<videohub::VideohubServer> videohub;

    ServerRig()
    {
        useRouters([](Configuration &config) {
            addRouter(config, 0, 3, 3);
            addRouter(config.Routers, 1, 1, 1, 0, 6);
            config.RouterTimeout = 0.5f;
        });
        started = startSim({"--no-pacing", "--answer", "0=ack", "--answer", "1=code:21"});
        build();
        control = std::make_unique<ControlPort>(panel->operations(), *panel);
        control->listen();
        ServerOptions options;
        options.port = 0;
        server = std::make_unique<swp08::Swp08Server>(panel->operations(), options);
        videohub::VideohubOptions videohubOptions;
        videohubOptions.port = 0;
        videohub = std::make_unique<videohub::VideohubServer>(panel->operations(), videohubOptions);
        listening = server->listen() && videohub->listen();
        panel->Form_Load([this] { runSetup(); });
    }

    bool started = false;
    bool listening = false;
};

} // namespace

class TestSwp08Wiring : public QObject
{
    Q_OBJECT

private slots:
    // A connect per level reaches the line and is recorded on its level; a
    // refused one is told to its sender; a route of the control port is told
    // per level; a protect is a lock a Videohub client sees as L; the
    // activity log names the client. Other clients' forms: the server's test.
    void clientsDriveThePanel()
    {
        ServerRig rig;
        QVERIFY(rig.started && rig.listening);
        Swp08Peer a(rig.server->port());
        VideohubPeer watcher(rig.videohub->port(), B);
        QCOMPARE(watcher.next(7).size(), 7);

        a.send("02 00 00 00 01");
        QCOMPARE(a.next(2), (QStringList{Ack, "04 00 00 00 01"}));
        a.send("02 01 00 00 02");
        QCOMPARE(a.next(2), (QStringList{Ack, "04 01 00 00 02"}));
        QCOMPARE(rig.routes(), (QStringList{route(0, 1, 0), route(0, 2, 0)}));
        QCOMPARE(rig.stateOf(0, 0).Video(), 1);
        QCOMPARE(rig.stateOf(0, 0).Audio(), 2);

        a.send("02 00 00 06 01");
        QCOMPARE(a.next(2), (QStringList{Ack, "03 00 07 06 7f"}));
        QCOMPARE(controlAnswer("route 0 1 3\n"), QStringLiteral("ok"));
        QCOMPARE(a.next(2), (QStringList{"04 00 00 01 03", "04 01 00 01 03"}));

        a.send("0c 00 00 02 07");
        QCOMPARE(a.next(3), (QStringList{Ack, "0d 00 03 00 02 07", "0d 01 03 00 02 07"}));
        QTRY_COMPARE(watcher.blocks().constLast(), (QStringList{"VIDEO OUTPUT LOCKS:", "2 L"}));

        const QStringList log = rig.log().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(log.size(), 5);
        QVERIFY2(log[0].contains(QRegularExpression("\tswp08 127\\.0\\.0\\.1:\\d+\troute output=1 \"Out 01\" input=2 "
                                                    "\"In 02\" frame=0 router-output=0 router-input=1 level=video "
                                                    "result=ok$")),
                 qPrintable(log[0]));
        QVERIFY(log[1].endsWith("level=audio result=ok"));
        QVERIFY(log[2].endsWith("level=video result=Router returned 21"));
        QVERIFY(log[4].contains(QRegularExpression(
            "\tswp08 127\\.0\\.0\\.1:\\d+\tlock output=3 \"Out 03\" action=lock owner=127\\.0\\.0\\.1 result=ok$")));
    }
};

QTEST_GUILESS_MAIN(TestSwp08Wiring)
#include "tst_swp08wiring.moc"
