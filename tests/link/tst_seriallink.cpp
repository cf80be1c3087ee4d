#include "support/DataRows.h"
#include "support/LinkRig.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

const QString NoReply = QStringLiteral("No reply from the router");
const QString Refused = QStringLiteral("Router returned 21");
const QStringList Fast{QStringLiteral("--no-pacing")};

// Waits (bounded) for the next bytes to reach the port, a reply nobody waits for.
bool waitForLateReply(SerialLink &link)
{
    QSignalSpy late(link.findChild<QSerialPort *>(), &QSerialPort::readyRead);
    return late.isValid() && late.wait(5000);
}

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

private slots:
    // One route to router 1 (output 2 from input 3, state 7/7 before) on
    // the configured port, the port opened twice first (opening the open
    // port keeps it), and how its reply is read: only the first byte counts;
    // the route state follows only an acknowledged route, on its levels;
    // recording notes the route whatever comes of it. Of the ports that fail
    // the route only one that cannot be opened is reported, at each opening.
    // Outcome: "ok|failed video/audio messages". A plain acknowledgement,
    // refusal and silence are judged in the route execution and control port tests.
    void routes_data()
    {
        columns<QString, QString, int, QString>({"port", "answer", "level", "outcome"});
        const QString unavailable = QStringList(3, QStringLiteral("Comm Port 3 is unavailable")).join(u'|');
        // clang-format off
        QTest::newRow("acknowledge video") << "COM1" << "ack" << 1 << "ok 3/7";
        QTest::newRow("first byte 0") << "COM1" << "code:0" << 3 << "failed 7/7";
        QTest::newRow("acknowledge and more") << "COM1" << "bytes:06,15,15" << 3 << "ok 3/3";
        QTest::newRow("refusal then acknowledge") << "COM1" << "bytes:15,06" << 3 << "failed 7/7 " + Refused;
        QTest::newRow("link to a missing device") << "COM3" << "ack" << 3 << "failed 7/7 " + unavailable;
        QTest::newRow("no port number") << "COMx" << "ack" << 3 << "failed 7/7";
        // clang-format on
    }

    void routes()
    {
        const auto [port, answer, level] = fetch<QString, QString, int>({"port", "answer", "level"});
        LinkRig rig;
        QVERIFY(rig.startSim({QStringLiteral("--answer"), QStringLiteral("1=") + answer}));
        // Without a link in the application folder the machine's own port is used.
        QCOMPARE(SerialLink::portPath(3, rig.appFolder), QStringLiteral("/dev/ttyS2"));
        QVERIFY(QFile::link(rig.home.path() + QStringLiteral("/unplugged"), rig.portLink(3)));
        QCOMPARE(SerialLink::portPath(3, rig.appFolder), rig.portLink(3));
        rig.config.CommPortName = port;
        const bool onSim = port == QLatin1String("COM1");
        const QList<bool> openFailed{rig.link.OpenCommPort(), rig.link.OpenCommPort()};
        QCOMPARE(openFailed, QList<bool>(2, port == QLatin1String("COM3")));
        clsRouteState &state = rig.config.Routers[1]->RouteState(2);
        state.setVideo(7);
        state.setAudio(7);
        rig.recorder.MacroRecording = true;
        const bool failed = rig.routes.RouteCrosspoint(*rig.config.Routers[1], 2, 3, level);
        const QString outcome =
            QStringLiteral("%1 %2/%3 ").arg(failed ? "failed" : "ok").arg(state.Video()).arg(state.Audio());
        QTEST((outcome + rig.status.messages.join(u'|')).trimmed(), "outcome");
        QCOMPARE(rig.recorder.RecordedRoutes.items(), QList<RouteRecord>{RouteRecord::pack(1, 2, 3, level)});
        QCOMPARE(rig.link.isOpen(), onSim);
        const QStringList wire = onSim ? QStringList{"BE EF 01 00 00 03 02 51"} : QStringList();
        QVERIFY(rig.sim.waitForFrames(int(wire.size())));
        QCOMPARE(rig.sim.wire(), wire);
    }

    // A late answer that arrives between two exchanges is not the next one's
    // reply: the next router's refusal is what counts.
    void staleBytesAreNotTheReply()
    {
        LinkRig rig;
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "0=ack@600", "--answer", "1=code:21"}));
        QVERIFY(rig.routes.SendRoute(0, 0, 0, 3));
        QVERIFY(waitForLateReply(rig.link));
        QVERIFY(rig.routes.SendRoute(1, 0, 0, 3));
        QCOMPARE(rig.status.messages, (QStringList{NoReply, Refused}));
    }

    // The application asked to quit during a take (its window closing): the
    // wait returns at once, the late reply finds no exchange waiting (under
    // the sanitizers, nothing is written into the gone frame), and nothing
    // more goes on the line.
    void quitDuringAWait()
    {
        LinkRig rig;
        rig.config.RouterTimeout = 5;
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "0=ack@300"}));
        connect(
            &rig.sim, &RouterSim::frameLogged, qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        QVERIFY(rig.routes.SendRoute(0, 0, 0, 3));
        QCOMPARE(rig.link.SendCommand("BE EF 01", true), 0);
        // The test itself goes on waiting: end the quit as a main loop would.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();

        QVERIFY(waitForLateReply(rig.link));
        QCOMPARE(rig.link.SendCommand("BE EF 01", true), 0);
        QCOMPARE(rig.sim.frames().size(), 1);
        QVERIFY(rig.status.messages.isEmpty());
    }

    // A closed port ends the waiting route and the one queued behind it.
    void closingWithARouteQueued()
    {
        LinkRig rig;
        rig.config.RouterTimeout = 30;
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "0=silent"}));
        std::optional<bool> queuedFailed;
        connect(&rig.sim, &RouterSim::frameLogged, &rig.sim, [&] {
            QTimer::singleShot(0, &rig.link, &SerialLink::CloseCommPort);
            queuedFailed = rig.routes.SendRoute(1, 0, 0, 3);
        });
        QVERIFY(rig.routes.SendRoute(0, 0, 0, 3));
        QCOMPARE(queuedFailed, std::optional<bool>(true));
        QVERIFY(!rig.link.isOpen());
        QCOMPARE(rig.sim.frames().size(), 1);
        QVERIFY(rig.status.messages.isEmpty());
    }

    // The configured port changed while another is open: the next opening
    // moves to it. That device pulled during a wait: the route fails, the
    // port closes, and the next route reopens it on the device that came back.
    void portMovesAndReopens()
    {
        LinkRig rig;
        rig.config.RouterTimeout = 30;
        QVERIFY(rig.startSim(Fast));
        QVERIFY(!rig.link.OpenCommPort());
        RouterSim second;
        QVERIFY(second.start(rig.portLink(2), {"--no-pacing", "--answer", "2=silent"}));
        rig.config.CommPortName = QStringLiteral("COM2");
        QVERIFY(!rig.link.OpenCommPort());
        connect(&second, &RouterSim::frameLogged, &second, &RouterSim::kill, Qt::QueuedConnection);
        QVERIFY(rig.routes.SendRoute(2, 5, 9, 1));
        QVERIFY2(rig.status.messages.size() == 1 && rig.status.messages[0].startsWith("Send Command Error: "),
                 qPrintable(rig.status.messages.join(u'|')));
        QVERIFY(!rig.link.isOpen());
        QCOMPARE(second.wire(), QStringList{"BE EF 02 00 00 09 05 5F"});
        QVERIFY(rig.sim.frames().isEmpty());

        RouterSim again;
        QVERIFY(again.start(rig.portLink(2), Fast));
        QVERIFY(!rig.routes.SendRoute(0, 0, 0, 3));
        QVERIFY(again.waitForFrames(1));
        QCOMPARE(again.wire(), QStringList{"BE EF 00 00 00 00 00 51"});
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
