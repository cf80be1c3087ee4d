#include "remote/swp08/Swp08Server.h"
#include "remote/videohub/VideohubServer.h"
#include "support/PanelRig.h"
#include "support/Swp08Peer.h"
#include "support/VideohubPeer.h"

#include <QTest>

// The SW-P-08 server wired to a running panel without a window, its line on
// velmora-routersim:
// router 0 (4 x 4) at matrix output 1, router 1 (2 x 2, refusing every route)
// at matrix output 7. The protocol's rules are checked in process.

const QString Ack = QStringLiteral("ACK");

class TestSwp08Wiring : public QObject
{
    Q_OBJECT

private slots:
    // A connect per level reaches the line and is logged on its level; a
    // refused one is told to its sender; a click on the panel is told per
    // level; a protect is a lock, the client's own, that a Videohub client
    // sees as L; the activity log names the client. Other clients' forms:
    // the server's test.
    void clientsDriveThePanel()
    {
        PanelRig rig;
        rig.useRouters([](Configuration &config) {
            addRouter(config, 0, 3, 3);
            addRouter(config.Routers, 1, 1, 1, 0, 6);
        });
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "0=ack", "--answer", "1=code:21"}));
        rig.build();
        // Default options: loopback, a port the system picks.
        swp08::Swp08Server server(*rig.door, ServerOptions{});
        videohub::VideohubOptions videohubOptions;
        videohubOptions.port = 0;
        videohub::VideohubServer videohub(*rig.door, videohubOptions);
        QVERIFY(server.listen() && videohub.listen());
        rig.panel->Form_Load([&rig] { rig.runSetup(); });
        Swp08Peer a(server.port());
        const auto watcher = VideohubPeer::pastDump(videohub.port(), QHostAddress(QStringLiteral("127.0.0.2")));

        QCOMPARE(a.ask("02 00 00 00 01", 2), (QStringList{Ack, "04 00 00 00 01"}));
        QCOMPARE(a.ask("02 01 00 00 02", 2), (QStringList{Ack, "04 01 00 00 02"}));
        QCOMPARE(rig.routes(), (QStringList{route(0, 1, 0), route(0, 2, 0)}));

        QCOMPARE(a.ask("02 00 00 06 01", 2), (QStringList{Ack, "03 00 07 06 7f"}));
        rig.panel->takes().cellClick(3 * 16 + 1);
        QCOMPARE(a.next(2), (QStringList{"04 00 00 01 03", "04 01 00 01 03"}));

        QCOMPARE(a.ask("0c 00 00 02 07", 3), (QStringList{Ack, "0d 00 03 00 02 07", "0d 01 03 00 02 07"}));
        QTRY_COMPARE(watcher->blocks().constLast(), (QStringList{"VIDEO OUTPUT LOCKS:", "2 L"}));

        const QStringList log = rig.log().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(log.size(), 5);
        const QString client = QStringLiteral("swp08 127.0.0.1:%1\t").arg(a.socket.localPort());
        QCOMPARE(log[0].section(u'\t', 1),
                 client + "route output=1 \"Out 01\" input=2 \"In 02\" frame=0 router-output=0 router-input=1 "
                          "level=video result=ok");
        QVERIFY(log[1].endsWith("level=audio result=ok"));
        QCOMPARE(log[4].section(u'\t', 1), client + "lock output=3 \"Out 03\" action=lock owner=127.0.0.1 result=ok");
    }
};

QTEST_GUILESS_MAIN(TestSwp08Wiring)
#include "tst_swp08wiring.moc"
