#include "LinkRig.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString NoReply = QStringLiteral("No reply from the router");
const QStringList Fast{QStringLiteral("--no-pacing")};

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

private slots:
    void portPathPrefersTheAppFolderLink()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        QCOMPARE(SerialLink::portPath(2, folder), QStringLiteral("/dev/ttyS1"));
        QVERIFY(QDir(folder).mkpath(QStringLiteral("ports")));
        QVERIFY(QFile::link(dir.path() + QStringLiteral("/nowhere"), folder + QStringLiteral("ports/COM2")));
        QCOMPARE(SerialLink::portPath(2, folder), folder + QStringLiteral("ports/COM2"));
    }

    // The frames the router sees, byte for byte; the level never goes on the wire.
    void workedFrames_data()
    {
        QTest::addColumn<int>("frameAddress");
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("frame");
        QTest::newRow("0 0 0") << 0 << 0 << 0 << "BE EF 00 00 00 00 00 51";
        QTest::newRow("3 0 7") << 3 << 0 << 7 << "BE EF 03 00 00 00 07 55";
        QTest::newRow("1 4 2") << 1 << 4 << 2 << "BE EF 01 00 00 04 02 56";
        QTest::newRow("15 126 126") << 15 << 126 << 126 << "BE EF 0F 00 00 7E 7E 5E";
        QTest::newRow("2 5 9") << 2 << 5 << 9 << "BE EF 02 00 00 05 09 5F";
    }

    void workedFrames()
    {
        QFETCH(int, frameAddress);
        QFETCH(int, input);
        QFETCH(int, output);
        QFETCH(QString, frame);
        LinkRig rig;
        QVERIFY(rig.startSim(Fast));
        for (const int level : {1, 2, 3})
            QVERIFY(!rig.routes.SendRoute(frameAddress, output, input, level));
        QVERIFY(rig.sim.waitForFrames(3));
        QCOMPARE(rig.sim.wire(), QStringList(3, frame));
        QVERIFY(rig.status.messages.isEmpty());
    }

    void replies_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("failed");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("acknowledge") << "ack" << false << QStringList();
        QTest::newRow("refusal") << "code:21" << true << QStringList{"Router returned 21"};
        QTest::newRow("no reply") << "silent" << true << QStringList{NoReply};
        QTest::newRow("first byte 0") << "code:0" << true << QStringList();
        QTest::newRow("acknowledge and more") << "bytes:06,15,15" << false << QStringList();
        QTest::newRow("refusal then acknowledge") << "bytes:15,06" << true << QStringList{"Router returned 21"};
        QTest::newRow("reply within the timeout") << "ack@100" << false << QStringList();
    }

    void replies()
    {
        QFETCH(QString, answer);
        LinkRig rig;
        QVERIFY(rig.startSim({QStringLiteral("--answer"), QStringLiteral("1=") + answer}));
        QTEST(rig.routes.SendRoute(1, 2, 3, 3), "failed");
        QTEST(rig.status.messages, "messages");
        QVERIFY(rig.sim.waitForFrames(1));
        QCOMPARE(rig.sim.wire(), QStringList{"BE EF 01 00 00 03 02 51"});
    }

    // A late answer that arrives between two exchanges is not the next one's reply.
    void staleBytesAreNotTheReply_data()
    {
        QTest::addColumn<QString>("nextAnswer");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("next router silent") << "silent" << QStringList{NoReply, NoReply};
        QTest::newRow("next router refuses") << "code:21" << QStringList{NoReply, "Router returned 21"};
    }

    void staleBytesAreNotTheReply()
    {
        QFETCH(QString, nextAnswer);
        LinkRig rig;
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "0=ack@600", "--answer", "1=" + nextAnswer}));
        QVERIFY(rig.routes.SendRoute(0, 0, 0, 3));
        auto *port = rig.link.findChild<QSerialPort *>();
        QVERIFY(port);
        QSignalSpy late(port, &QSerialPort::readyRead);
        QVERIFY(late.wait(5000));
        QVERIFY(rig.routes.SendRoute(1, 0, 0, 3));
        QTEST(rig.status.messages, "messages");
    }

    void unavailablePort()
    {
        LinkRig rig;
        rig.config.CommPortName = QStringLiteral("COM3");
        QVERIFY(QDir(rig.appFolder).mkpath(QStringLiteral("ports")));
        QVERIFY(QFile::link(rig.home.path() + QStringLiteral("/unplugged"), rig.portLink(3)));
        QVERIFY(rig.link.OpenCommPort());
        QVERIFY(rig.routes.SendRoute(0, 0, 0, 3));
        QCOMPARE(rig.status.messages, QStringList(2, QStringLiteral("Comm Port 3 is unavailable")));
        QVERIFY(!rig.link.isOpen());
    }

    void noPortNumberSendsNothingSilently()
    {
        LinkRig rig;
        rig.config.CommPortName = QStringLiteral("COMx");
        QVERIFY(!rig.link.OpenCommPort());
        QVERIFY(rig.routes.SendRoute(0, 0, 0, 3));
        QVERIFY(rig.status.messages.isEmpty());
    }

    void reopeningTheOpenPortKeepsIt()
    {
        LinkRig rig;
        QVERIFY(rig.startSim(Fast));
        QVERIFY(!rig.link.OpenCommPort());
        QVERIFY(!rig.link.OpenCommPort());
        QVERIFY(!rig.routes.SendRoute(0, 0, 0, 3));
        QVERIFY(rig.status.messages.isEmpty());
    }

    void deviceVanishingMidExchange()
    {
        LinkRig rig;
        rig.config.RouterTimeout = 30;
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "1=silent"}));
        connect(&rig.sim, &RouterSim::frameLogged, &rig.sim, &RouterSim::kill, Qt::QueuedConnection);
        QVERIFY(rig.routes.SendRoute(1, 0, 0, 3));
        QCOMPARE(rig.status.messages.size(), 1);
        QVERIFY2(rig.status.messages[0].startsWith(QLatin1String("Send Command Error: ")),
                 qPrintable(rig.status.messages[0]));
        QVERIFY(!rig.link.isOpen());

        RouterSim again;
        QVERIFY(again.start(rig.portLink(), Fast));
        QVERIFY(!rig.routes.SendRoute(0, 0, 0, 3));
        QVERIFY(rig.link.isOpen());
        QVERIFY(again.waitForFrames(1));
        QCOMPARE(again.wire(), QStringList{"BE EF 00 00 00 00 00 51"});
    }

    // A route started during another's reply wait goes on the line after that
    // reply, and each is judged by its own.
    void nestedRouteDuringAWait_data()
    {
        QTest::addColumn<QString>("firstAnswer");
        QTest::addColumn<QString>("secondAnswer");
        QTest::addColumn<bool>("firstFailed");
        QTest::addColumn<bool>("secondFailed");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("slow ack, refusal") << "ack@400"
                                           << "code:21" << false << true << QStringList{"Router returned 21"};
        QTest::newRow("no reply, ack") << "silent"
                                       << "ack" << true << false << QStringList{NoReply};
        QTest::newRow("slow refusal, ack") << "code:21@400"
                                           << "ack" << true << false << QStringList{"Router returned 21"};
    }

    void nestedRouteDuringAWait()
    {
        QFETCH(QString, firstAnswer);
        QFETCH(QString, secondAnswer);
        LinkRig rig;
        rig.config.RouterTimeout = 1;
        QVERIFY(rig.startSim({"--answer", "0=" + firstAnswer, "--answer", "1=" + secondAnswer}));
        std::optional<bool> secondFailed;
        connect(&rig.sim, &RouterSim::frameLogged, &rig.sim, [&] {
            if (rig.sim.frames().size() == 1)
                secondFailed = rig.routes.SendRoute(1, 1, 1, 3);
        });
        const bool firstFailed = rig.routes.SendRoute(0, 0, 0, 3);
        QVERIFY(secondFailed.has_value());
        QTEST(firstFailed, "firstFailed");
        QTEST(*secondFailed, "secondFailed");
        QTEST(rig.status.messages, "messages");
        QVERIFY(rig.sim.waitForFrames(2));
        QCOMPARE(rig.sim.wire(), (QStringList{"BE EF 00 00 00 00 00 51", "BE EF 01 00 00 01 01 50"}));
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
