#include "RouterSim.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Routers at 0 and 1 with 16 inputs and outputs each, 0.3 s timeout on COM1.
const QByteArray SetUp = "VL ConfigFile 1.2\r\n"
                         "Com Port: 1\r\n"
                         "Router Timeout: 0.3\r\n"
                         "Router: 0; 0; 15; 15; 0; 0; 0;\r\n"
                         "Router: 0; 1; 15; 15; 16; 16; 0;\r\n"
                         "Begin Macros\r\n"
                         "  Macro 00: Show; {0, 3} = {5, 3}; {1, 2} = {4, 1}; {0, 4} = {5, 2}; \r\n"
                         "  Macro 01: Stale; {0, 3} = {5, 3}; {7, 1} = {1, 3}; {0, 40} = {1, 3}; {1, 0} = {0, 3}; \r\n"
                         "  Macro 02: Nothing yet; \r\n"
                         "End Macros\r\n";

struct Run
{
    int exitCode = -1;
    QStringList err;
};

// velmora-ctl with a private application folder whose ports/COM1 the
// simulator takes, so the set-up's COM1 reaches it.
struct Ctl
{
    QTemporaryDir home;
    QString file = home.filePath(QStringLiteral("set-up.rcf"));
    RouterSim sim;

    explicit Ctl(const QByteArray &setUp = SetUp)
    {
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(setUp);
    }

    [[nodiscard]] QString portLink() const { return home.path() + QStringLiteral("/Velmora/1.1/ports/COM1"); }
    [[nodiscard]] bool startSim(const QStringList &args) { return sim.start(portLink(), args); }

    Run run(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VELMORA_CTL), arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts)};
    }
};

} // namespace

class TestVelmoraCtlRoute : public QObject
{
    Q_OBJECT

private slots:
    void route_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after FILE
        QTest::addColumn<QString>("answers");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("err");
        QTest::addColumn<QStringList>("wire");
        const QStringList frame{"BE EF 01 00 00 04 02 56"};
        QTest::newRow("acknowledged") << QStringList{"1", "2", "4"} << "ack" << 0 << QStringList() << frame;
        QTest::newRow("one level") << QStringList{"1", "2", "4", "2"} << "ack" << 0 << QStringList() << frame;
        QTest::newRow("refused") << QStringList{"1", "2", "4"} << "code:21" << 1 << QStringList{"Router returned 21"}
                                 << frame;
        QTest::newRow("no reply") << QStringList{"1", "2", "4"} << "silent" << 1
                                  << QStringList{"No reply from the router"} << frame;
        QTest::newRow("no router there") << QStringList{"5", "2", "4"} << "ack" << 1
                                         << QStringList{"No router at frame address 5"} << QStringList();
        QTest::newRow("port beyond the router")
            << QStringList{"1", "16", "4"} << "ack" << 1 << QStringList{"Unassigned crosspoint"} << QStringList();
    }

    void route()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, answers);
        QFETCH(QStringList, wire);
        Ctl ctl;
        QVERIFY(ctl.startSim({"--no-pacing", "--answer", "*=" + answers}));
        const Run run = ctl.run(QStringList{"route", ctl.file} + arguments);
        QTEST(run.exitCode, "exitCode");
        QTEST(run.err, "err");
        if (!wire.isEmpty())
            QVERIFY(ctl.sim.waitForFrames(int(wire.size())));
        QCOMPARE(ctl.sim.wire(), wire);
    }

    void macro_data()
    {
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("err");
        QTest::addColumn<QStringList>("wire");
        const QStringList show{"BE EF 00 00 00 05 03 57", "BE EF 01 00 00 04 02 56", "BE EF 00 00 00 05 04 50"};
        QTest::newRow("all acknowledged") << "0" << QStringList{"--no-pacing"} << 0 << QStringList() << show;
        QTest::newRow("one refused, the rest still sent") << "0" << QStringList{"--no-pacing", "--answer", "1=code:21"}
                                                          << 1 << QStringList{"Router returned 21"} << show;
        QTest::newRow("records the set-up no longer has")
            << "1" << QStringList{"--no-pacing"} << 1
            << QStringList{"No router at frame address 7", "Unassigned crosspoint"}
            << QStringList{"BE EF 00 00 00 05 03 57", "BE EF 01 00 00 00 00 50"};
        QTest::newRow("saved without routes")
            << "2" << QStringList{"--no-pacing"} << 0 << QStringList() << QStringList();
        QTest::newRow("never saved") << "3" << QStringList{"--no-pacing"} << 1 << QStringList{"Macro 3 is unassigned"}
                                     << QStringList();
    }

    void macro()
    {
        QFETCH(QString, slot);
        QFETCH(QStringList, simArgs);
        QFETCH(QStringList, wire);
        Ctl ctl;
        QVERIFY(ctl.startSim(simArgs));
        const Run run = ctl.run({"macro", ctl.file, slot});
        QTEST(run.exitCode, "exitCode");
        QTEST(run.err, "err");
        if (!wire.isEmpty())
            QVERIFY(ctl.sim.waitForFrames(int(wire.size())));
        QCOMPARE(ctl.sim.wire(), wire);
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("route without ports") << QStringList{"route", "FILE", "0"};
        QTest::newRow("route with too much") << QStringList{"route", "FILE", "0", "1", "1", "3", "9"};
        QTest::newRow("frame address 16") << QStringList{"route", "FILE", "16", "1", "1"};
        QTest::newRow("level 4") << QStringList{"route", "FILE", "0", "1", "1", "4"};
        QTest::newRow("port not a number") << QStringList{"route", "FILE", "0", "one", "1"};
        QTest::newRow("negative port") << QStringList{"route", "FILE", "0", "-1", "1"};
        QTest::newRow("macro without slot") << QStringList{"macro", "FILE"};
        QTest::newRow("slot 12") << QStringList{"macro", "FILE", "12"};
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        Ctl ctl;
        arguments.replaceInStrings(QStringLiteral("FILE"), ctl.file);
        const Run run = ctl.run(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(run.err.constFirst().startsWith(QLatin1String("usage: velmora-ctl ")));
    }

    void portProblems_data()
    {
        QTest::addColumn<QByteArray>("setUp");
        QTest::addColumn<QStringList>("err");
        QTest::newRow("nothing at COM1") << SetUp << QStringList{"Comm Port 1 is unavailable"};
        QByteArray noPort = SetUp;
        noPort.replace("Com Port: 1\r\n", "");
        QTest::newRow("no port in the file") << noPort << QStringList{"No COM port in the configuration"};
    }

    void portProblems()
    {
        QFETCH(QByteArray, setUp);
        Ctl ctl(setUp);
        QVERIFY(QDir().mkpath(QFileInfo(ctl.portLink()).path()));
        QVERIFY(QFile::link(ctl.home.filePath(QStringLiteral("unplugged")), ctl.portLink()));
        const Run run = ctl.run({"route", ctl.file, "0", "1", "1"});
        QCOMPARE(run.exitCode, 1);
        QTEST(run.err, "err");
    }

    void unreadableFile()
    {
        Ctl ctl;
        const Run run = ctl.run({"macro", ctl.home.filePath(QStringLiteral("missing.rcf")), "0"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(!run.err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestVelmoraCtlRoute)
#include "tst_velmoractlroute.moc"
