#include "RouterSim.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The contract of velmora-ctl route and macro only: exit status, status
// lines on standard error, what goes on the line. How the link judges
// replies and how a replay treats stale records is tested in-process.

namespace {

// Routers at 0 and 1 with 16 inputs and outputs each, 0.3 s timeout on COM1.
const QByteArray SetUp = "VL ConfigFile 1.2\r\n"
                         "Com Port: 1\r\n"
                         "Router Timeout: 0.3\r\n"
                         "Router: 0; 0; 15; 15; 0; 0; 0;\r\n"
                         "Router: 0; 1; 15; 15; 16; 16; 0;\r\n"
                         "Begin Macros\r\n"
                         "  Macro 00: Show; {0, 3} = {5, 3}; {1, 2} = {4, 1}; {0, 4} = {5, 2}; \r\n"
                         "  Macro 01: Fine; {0, 3} = {5, 3}; \r\n"
                         "  Macro 02: Nothing yet; \r\n"
                         "End Macros\r\n";

struct Run
{
    int exitCode = -1;
    QStringList err;
};

// velmora-ctl in folder, which is also its application data folder: the
// simulator linked at its ports/COM1 answers the set-up's COM1.
Run runCtl(const QTemporaryDir &folder, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.path());
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder.path());
    process.start(QStringLiteral(VELMORA_CTL), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts)};
}

} // namespace

class TestVelmoraCtlRoute : public QObject
{
    Q_OBJECT

private slots:
    // set-up.rcf is the set-up above, no-port.rcf the same without its COM
    // port; router 1 refuses every route (router 0's own answer beats the
    // "*" given after it).
    void command_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("err");
        QTest::addColumn<QStringList>("wire");
        const QString acked = QStringLiteral("BE EF 00 00 00 05 03 57");
        const QString refused = QStringLiteral("BE EF 01 00 00 04 02 56");
        QTest::newRow("route acknowledged")
            << QStringList{"route", "set-up.rcf", "0", "3", "5"} << 0 << QStringList() << QStringList{acked};
        QTest::newRow("route refused") << QStringList{"route", "set-up.rcf", "1", "2", "4", "1"} << 1
                                       << QStringList{"Router returned 21"} << QStringList{refused};
        QTest::newRow("route to no router") << QStringList{"route", "set-up.rcf", "5", "2", "4"} << 1
                                            << QStringList{"No router at frame address 5"} << QStringList();
        QTest::newRow("macro acknowledged")
            << QStringList{"macro", "set-up.rcf", "1"} << 0 << QStringList() << QStringList{acked};
        QTest::newRow("macro goes on after a refusal")
            << QStringList{"macro", "set-up.rcf", "0"} << 1 << QStringList{"Router returned 21"}
            << QStringList{acked, refused, "BE EF 00 00 00 05 04 50"};
        QTest::newRow("macro saved without routes")
            << QStringList{"macro", "set-up.rcf", "2"} << 0 << QStringList() << QStringList();
        QTest::newRow("macro never saved")
            << QStringList{"macro", "set-up.rcf", "3"} << 1 << QStringList{"Macro 3 is unassigned"} << QStringList();
        QTest::newRow("no port in the file") << QStringList{"route", "no-port.rcf", "0", "3", "5"} << 1
                                             << QStringList{"No COM port in the configuration"} << QStringList();
        QTest::newRow("missing file") << QStringList{"macro", "missing.rcf", "0"} << 1
                                      << QStringList{"Function ConfigLoad: Error: File not found"} << QStringList();
    }

    void command()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, wire);
        QTemporaryDir folder;
        QByteArray noPort = SetUp;
        noPort.replace("Com Port: 1\r\n", "");
        for (const auto &[name, bytes] : {std::pair{"set-up.rcf", SetUp}, std::pair{"no-port.rcf", noPort}}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        RouterSim sim;
        QVERIFY(sim.start(folder.path() + QStringLiteral("/Velmora/1.1/ports/COM1"),
                          {"--no-pacing", "--answer", "0=ack", "--answer", "*=code:21"}));
        const Run run = runCtl(folder, arguments);
        QTEST(run.exitCode, "exitCode");
        QTEST(run.err, "err");
        QVERIFY(sim.waitForFrames(int(wire.size())));
        QCOMPARE(sim.wire(), wire);
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("route without ports") << QStringList{"route", "set-up.rcf", "0"};
        QTest::newRow("route with too much") << QStringList{"route", "set-up.rcf", "0", "1", "1", "3", "9"};
        QTest::newRow("frame address 16") << QStringList{"route", "set-up.rcf", "16", "1", "1"};
        QTest::newRow("level 4") << QStringList{"route", "set-up.rcf", "0", "1", "1", "4"};
        QTest::newRow("port not a number") << QStringList{"route", "set-up.rcf", "0", "one", "1"};
        QTest::newRow("negative port") << QStringList{"route", "set-up.rcf", "0", "-1", "1"};
        QTest::newRow("macro without slot") << QStringList{"macro", "set-up.rcf"};
        QTest::newRow("slot 12") << QStringList{"macro", "set-up.rcf", "12"};
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir folder;
        const Run run = runCtl(folder, arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(run.err.constFirst().startsWith(QStringLiteral("usage: velmora-ctl ") + arguments.constFirst()));
    }
};

QTEST_GUILESS_MAIN(TestVelmoraCtlRoute)
#include "tst_velmoractlroute.moc"
