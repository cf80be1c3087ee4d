#include "remote/control/ControlPort.h"
#include "remote/umd/UmdOutput.h"
#include "support/ControlAnswer.h"
#include "support/PanelRig.h"
#include "support/UmdPeer.h"

#include <QTest>

// The UMD output wired to a running panel without a window, its line on
// velmora-routersim (one router, 4 x 4): a route through the control port
// and a rename reach a UDP and a TCP receiver, and a serial line on a
// pseudo-terminal (a second simulator, dumping what it reads).
// What each display shows and when: the output's own test.

class TestUmdWiring : public QObject
{
    Q_OBJECT

private slots:
    // Three targets: TSL 3.1 over UDP following the video level, TSL 5.0
    // over TCP showing the outputs' names (its receiver restarted on the
    // way), TSL 3.1 on a serial line (8E1, 38400 baud) from address 7.
    void routesReachTheDisplays()
    {
        PanelRig rig;
        rig.useRouter(3, 3);
        QVERIFY(rig.startSim());
        rig.build();
        ControlPort control(*rig.door, *rig.panel);
        control.listen();
        UmdPeer udp(UmdPeer::Kind::Tsl31);
        UmdPeer tcp(UmdPeer::Kind::Tsl5Tcp);
        RouterSim line;
        const QString device = rig.appFolder() + QStringLiteral("umd-line");
        QVERIFY(line.start(device, {QStringLiteral("--dump")}));
        const auto output = UmdOutput::fromArguments(
            *rig.door, {QStringLiteral("--umd=tsl31://127.0.0.1:%1?refresh=0").arg(udp.port()),
                        QStringLiteral("--umd=tsl5tcp://127.0.0.1:%1?refresh=0&mode=outputs&count=2").arg(tcp.port()),
                        QStringLiteral("--umd=tsl31serial://%1?refresh=0&mode=outputs&count=2&address=7").arg(device)});
        QVERIFY(output);
        rig.panel->Form_Load([&rig] { rig.runSetup(); });
        QCOMPARE(udp.take(4), (QStringList{"0 30 ---", "1 30 ---", "2 30 ---", "3 30 ---"}));
        QCOMPARE(tcp.take(2), (QStringList{"0/0 00c0 Out 01", "0/1 00c0 Out 02"}));

        QCOMPARE(controlAnswer("route 0 2 1\n"), QStringLiteral("ok"));
        QCOMPARE(udp.take(1), QStringList{"2 30 In 02"});
        QCOMPARE(rig.door->renamePort(false, 1, QStringLiteral("Monitor 2"), {}), QStringLiteral("Monitor 2"));
        QCOMPARE(tcp.take(1), QStringList{"0/1 00c0 Monitor 2"});
        tcp.stop();
        QVERIFY(tcp.listen(tcp.port()));
        QCOMPARE(tcp.take(2), (QStringList{"0/0 00c0 Out 01", "0/1 00c0 Monitor 2"}));

        const auto serial = [&line] {
            QByteArray bytes;
            for (const QString &read : line.frames())
                bytes += QByteArray::fromHex(read.section(u' ', 1).toLatin1());
            return bytes;
        };
        QTRY_COMPARE_WITH_TIMEOUT(serial().size(), 54, 10000);
        QCOMPARE(readTsl31(serial().left(18)) + '|' + readTsl31(serial().mid(18, 18)) + '|' +
                     readTsl31(serial().mid(36)),
                 QStringLiteral("7 30 Out 01|8 30 Out 02|8 30 Monitor 2"));
        QVERIFY(rig.log().contains("\tumd\ttarget2 connected\n"));
        QVERIFY(output->statusLines().constLast().endsWith("&address=7 sending sent 3"));
    }
};

QTEST_GUILESS_MAIN(TestUmdWiring)
#include "tst_umdwiring.moc"
