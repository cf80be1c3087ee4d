#include "RouterSim.h"
#include "remote/ControlPort.h"
#include "remote/PanelOperations.h"
#include "support/RecordingStatusSink.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// velmora-ctl's own contract: exit status, standard streams, usage, and what
// goes on the line. What a load or a link makes of its input is tested
// in-process.

namespace {

// Routers at 0 and 1 with 16 inputs and outputs each, 0.3 s timeout on COM1.
const QByteArray SetUp = "VL ConfigFile 1.2\r\n"
                         "Com Port: 1\r\n"
                         "Router Timeout: 0.3\r\n"
                         "Router: 0; 0; 15; 15; 0; 0; 0;\r\n"
                         "Router: 0; 1; 15; 15; 16; 16; 0;\r\n"
                         "Begin Macros\r\n"
                         "  Macro 00: Show; {0, 3} = {5, 3}; {1, 2} = {4, 1}; {0, 4} = {5, 2}; \r\n"
                         "End Macros\r\n";

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A running panel as velmora-ctl sees it: its control port, answering from a
// script. Router 1 refuses every route.
struct ScriptedPanel final : PanelOperations
{
    QStringList calls;

    Outcome route(int FrameAddress, int phyOut, int phyIn, int Level) override
    {
        calls.append(QStringLiteral("route %1 %2 %3 %4").arg(FrameAddress).arg(phyOut).arg(phyIn).arg(Level));
        return FrameAddress == 1 ? Outcome{false, {"Router returned 21"}} : Outcome{true, {}};
    }
    Outcome recallMacro(int Slot) override
    {
        calls.append(QStringLiteral("macro %1").arg(Slot));
        return {true, {}};
    }
    Outcome sources(int FrameAddress, int phyOut, OutputSources &result) override
    {
        calls.append(QStringLiteral("state %1 %2").arg(FrameAddress).arg(phyOut));
        result = {2, -1};
        return {true, {}};
    }
    QStringList names() const override { return {}; }
};

// velmora-ctl in folder, which is also its application data folder: the
// simulator linked at its ports/COM1 answers the set-up's COM1. The wait
// runs the event loop, so a panel in this process can answer.
Run runCtl(const QTemporaryDir &folder, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.path());
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder.path());
    process.start(QStringLiteral(VELMORA_CTL), arguments);
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 60000) ||
        process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class TestVelmoraCtl : public QObject
{
    Q_OBJECT

private slots:
    // Router 0 acknowledges, router 1 refuses every route.
    void command_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<QStringList>("wire");
        const QString acked = QStringLiteral("BE EF 00 00 00 05 03 57");
        const QString refused = QStringLiteral("BE EF 01 00 00 04 02 56");
        QTest::newRow("check: rejected lines listed")
            << QStringList{"check", "rejected.rcf"} << 0
            << QByteArray("Data Error: Frame Address out of range\nInvalid Router--Line 5\r\n") << QStringList();
        QTest::newRow("check: wrong header")
            << QStringList{"check", "wrong.rcf"} << 1
            << QByteArray("Velmora: This is not a valid configuration file for this version of the program\n")
            << QStringList();
        QTest::newRow("route acknowledged")
            << QStringList{"route", "set-up.rcf", "0", "3", "5"} << 0 << QByteArray() << QStringList{acked};
        QTest::newRow("route refused") << QStringList{"route", "set-up.rcf", "1", "2", "4", "1"} << 1
                                       << QByteArray("Router returned 21\n") << QStringList{refused};
        QTest::newRow("macro goes on after a refusal")
            << QStringList{"macro", "set-up.rcf", "0"} << 1 << QByteArray("Router returned 21\n")
            << QStringList{acked, refused, "BE EF 00 00 00 05 04 50"};
        QTest::newRow("missing file") << QStringList{"macro", "missing.rcf", "0"} << 1
                                      << QByteArray("Function ConfigLoad: Error: File not found\n") << QStringList();
    }

    void command()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, wire);
        QTemporaryDir folder;
        QByteArray rejected = SetUp;
        rejected.replace("Begin Macros", "Router: 0; 16; 0; 0; 0; 0; 0;\r\nBegin Macros");
        for (const auto &[name, bytes] : {std::pair{"set-up.rcf", SetUp}, std::pair{"rejected.rcf", rejected},
                                          std::pair{"wrong.rcf", SetUp.toLower()}}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        RouterSim sim;
        QVERIFY(sim.start(folder.path() + QStringLiteral("/Velmora/1.1/ports/COM1"),
                          {"--no-pacing", "--answer", "0=ack", "--answer", "*=code:21"}));
        const Run run = runCtl(folder, arguments);
        QTEST(run.exitCode, "exitCode");
        QTEST(run.err, "err");
        // check prints what a save would write; route and macro print nothing.
        QCOMPARE(run.out.startsWith("VL ConfigFile 1.2\r\n"), arguments.constFirst() == "check" && run.exitCode == 0);
        QVERIFY(sim.waitForFrames(int(wire.size())));
        QCOMPARE(sim.wire(), wire);
    }

    // The run command seeds the demonstration folder with this file: it must
    // load without a box and be exactly what a save writes back.
    void demonstrationSetUpChecksClean()
    {
        QTemporaryDir folder;
        QFile file(QStringLiteral(VELMORA_DEMO_SETUP));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray demo = file.readAll();
        const Run run = runCtl(folder, {QStringLiteral("check"), file.fileName()});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.out, demo);
    }

    // With a panel running, route, macro and state go through it and nothing
    // goes on the line; --direct still takes the line.
    void throughThePanel_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<int>("frames");
        QTest::newRow("route") << QStringList{"route", "set-up.rcf", "0", "3", "5"} << 0 << QByteArray() << QByteArray()
                               << QStringList{"route 0 3 5 3"} << 0;
        QTest::newRow("route refused") << QStringList{"route", "set-up.rcf", "1", "2", "4", "1"} << 1 << QByteArray()
                                       << QByteArray("Router returned 21\n") << QStringList{"route 1 2 4 1"} << 0;
        QTest::newRow("macro") << QStringList{"macro", "set-up.rcf", "0"} << 0 << QByteArray() << QByteArray()
                               << QStringList{"macro 0"} << 0;
        QTest::newRow("state") << QStringList{"state", "0", "4"} << 0 << QByteArray("video 2 audio -1\n")
                               << QByteArray() << QStringList{"state 0 4"} << 0;
        QTest::newRow("route --direct") << QStringList{"route", "--direct", "set-up.rcf", "0", "3", "5"} << 0
                                        << QByteArray() << QByteArray() << QStringList() << 1;
    }

    void throughThePanel()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, frames);
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("set-up.rcf")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(SetUp) == SetUp.size());
        file.close();
        RouterSim sim;
        QVERIFY(sim.start(folder.path() + QStringLiteral("/Velmora/1.1/ports/COM1"), {"--no-pacing"}));
        ScriptedPanel panel;
        RecordingStatusSink status;
        ControlPort port(panel, status);
        QVERIFY(port.listen());

        const Run run = runCtl(folder, arguments);
        QTEST(run.exitCode, "exitCode");
        QTEST(run.out, "out");
        QTEST(run.err, "err");
        QTEST(panel.calls, "calls");
        QVERIFY(sim.waitForFrames(frames));
        QCOMPARE(sim.frames().size(), frames);
    }

    void stateNeedsAPanel()
    {
        QTemporaryDir folder;
        const Run run = runCtl(folder, {"state", "0", "4"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err, QByteArray("No panel is running: the route state lives in the panel\n"));
    }

    void helpPrintsEveryUsage()
    {
        QTemporaryDir folder;
        const Run run = runCtl(folder, {"--help"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        for (const char *usage : {"velmora-ctl check FILE", "velmora-ctl route [--direct] FILE FA OUT IN [LEVEL]",
                                  "velmora-ctl macro [--direct] FILE SLOT", "velmora-ctl state FA OUT"})
            QVERIFY2(run.out.contains(usage), usage);
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("usage");
        QTest::newRow("nothing") << QStringList{} << QByteArray("usage: velmora-ctl check|macro|route");
        QTest::newRow("unknown command") << QStringList{"frobnicate", "x.rcf"}
                                         << QByteArray("usage: velmora-ctl check|macro|route");
        QTest::newRow("check: two files")
            << QStringList{"check", "a.rcf", "b.rcf"} << QByteArray("usage: velmora-ctl check");
        QTest::newRow("route without ports")
            << QStringList{"route", "set-up.rcf", "0"} << QByteArray("usage: velmora-ctl route");
        QTest::newRow("route: frame address 16")
            << QStringList{"route", "set-up.rcf", "16", "1", "1"} << QByteArray("usage: velmora-ctl route");
        QTest::newRow("route: port not a number")
            << QStringList{"route", "set-up.rcf", "0", "one", "1"} << QByteArray("usage: velmora-ctl route");
        QTest::newRow("macro: slot 12") << QStringList{"macro", "set-up.rcf", "12"}
                                        << QByteArray("usage: velmora-ctl macro");
        QTest::newRow("state: negative output")
            << QStringList{"state", "0", "-1"} << QByteArray("usage: velmora-ctl state");
    }

    void usage()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir folder;
        const Run run = runCtl(folder, arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QFETCH(QByteArray, usage);
        QVERIFY2(run.err.startsWith(usage), run.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestVelmoraCtl)
#include "tst_velmoractl.moc"
