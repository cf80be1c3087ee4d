#include "desktop/WholeFile.h"
#include "door/ControlDoor.h"
#include "remote/control/ControlPort.h"
#include "remote/control/ControlSocketName.h"
#include "support/ConfigTestSupport.h"
#include "support/DataRows.h"
#include "support/RecordingStatusSink.h"
#include "support/RouterSim.h"

#include <QLocalServer>
#include <QLockFile>
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

// The one router line of the scripted panel: router 0 puts its output 4 at matrix output 21.
const QString RouterLine =
    QStringLiteral("0; 0; 3; 4; 0; 16; 0;In 01; In 02; Cam 3; In 04; Out 01; Out 02; Out 03; Out 04; Monitor;");

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A running panel as velmora-ctl sees it: its control port, answering from a
// script. Router 1 refuses every route.
struct ScriptedPanel final : ControlDoor
{
    QStringList calls;

    Outcome note(const QString &call, bool acknowledged = true)
    {
        calls.append(call);
        return acknowledged ? Outcome{true, {}} : Outcome{false, {"Router returned 21"}};
    }
    Outcome route(int frameAddress, int phyOut, int phyIn, int level) override
    {
        return note(QStringLiteral("route %1 %2 %3 %4").arg(frameAddress).arg(phyOut).arg(phyIn).arg(level),
                    frameAddress != 1);
    }
    Outcome recallMacro(int slot) override { return note(QStringLiteral("macro %1").arg(slot)); }
    Outcome sources(int frameAddress, int phyOut, OutputSources &result) override
    {
        result = {2, -1};
        return note(QStringLiteral("state %1 %2").arg(frameAddress).arg(phyOut));
    }
    // Ending in a blank, as the panel's router lines do.
    QStringList names() const override { return {RouterLine + u' '}; }
    ShowDoor *shows(QString &refusal) override
    {
        refusal = QStringLiteral("no show files");
        return nullptr;
    }
};

// A folder that is velmora-ctl's working and application data folder, with
// set-up.rcf, rejected.rcf (a router line refused, a timeout ignored) and
// wrong.rcf (bad header) in it, and the simulator at its ports/COM1: router
// 0 acknowledges, the others refuse.
struct CtlFolder
{
    QTemporaryDir folder;
    RouterSim sim;

    bool prepare()
    {
        QByteArray rejected = SetUp;
        rejected.replace("Begin Macros", "Router: 0; 16; 0; 0; 0; 0; 0;\r\nRouter Timeout: 60\r\nBegin Macros");
        for (const auto &[name, bytes] : {std::pair{"set-up.rcf", SetUp}, std::pair{"rejected.rcf", rejected},
                                          std::pair{"wrong.rcf", SetUp.toLower()}})
            desktop::writeWholeFile(folder.filePath(QString::fromLatin1(name)), bytes);
        return sim.start(folder.path() + QStringLiteral("/Velmora/1.1/ports/COM1"),
                         {"--no-pacing", "--answer", "0=ack", "--answer", "*=code:21"});
    }

    // The wait runs the event loop, so a panel in this process can answer.
    Run run(const QStringList &arguments, const QStringList &unset = {}) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &variable : unset)
            environment.remove(variable);
        environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.path());
        // Without a runtime folder velmora-ctl looks for its own in the temporary folder.
        environment.insert(QStringLiteral("TMPDIR"), folder.path());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder.path());
        process.start(QStringLiteral(VELMORA_CTL), arguments);
        if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 60000) ||
            process.exitStatus() != QProcess::NormalExit)
            return {};
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }
};

} // namespace

class TestVelmoraCtl : public QObject
{
    Q_OBJECT

private slots:
    // velmora-ctl ARGUMENTS, with or without a panel answering. Each stream
    // starts with the expected text and is empty exactly when that is; the
    // frames on the line and the panel's calls are "|" separated. Without a
    // panel router 0 acknowledges, 1 refuses; check prints what a save would
    // write. With one, route, macro and state go through it and nothing goes
    // on the line; --direct still takes the line. A panel that holds the port
    // but does not answer (stopped: its socket accepts, nothing answers; or
    // listening again after a fault: no socket) is never bypassed.
    void run_data()
    {
        columns<QString, QString, int, QString, QString, QString, QString>(
            {"panel", "arguments", "exitCode", "out", "err", "wire", "calls"});
        const QString acked = QStringLiteral("BE EF 00 00 00 05 03 57");
        const QString refused = QStringLiteral("Router returned 21\n");
        const QString noPanel = QStringLiteral("No panel is running: the route state lives in the panel\n");
        const QString direct = QStringLiteral("velmora-ctl: opening COM1 directly: FOLDER/Velmora/1.1/ports/COM1\n");
        // clang-format off
        const QString rejectedLines = QStringLiteral("Data Error: Frame Address out of range (rejected.rcf, line 6)\nInvalid Router--Line 5\r\n");
        QTest::newRow("check: rejected lines listed") << "" << "check rejected.rcf" << 0 << "VL ConfigFile 1.2\r\n"
            << rejectedLines + "rejected.rcf: line 6 not read\n" << "" << "";
        QTest::newRow("check --strict: ignored lines too") << "" << "check --strict rejected.rcf" << 1 << "VL ConfigFile 1.2\r\n"
            << rejectedLines + "rejected.rcf:6: rejected: Invalid Router\nrejected.rcf:7: ignored: Router Timeout out of range\n" << "" << "";
        QTest::newRow("check: wrong header") << "" << "check wrong.rcf" << 1 << ""
            << "Velmora: This is not a valid configuration file for this version of the program (wrong.rcf, line 1)\n" << "" << "";
        QTest::newRow("route acknowledged") << "" << "route set-up.rcf 0 3 5" << 0 << "" << direct << acked << "";
        QTest::newRow("macro goes on after a refusal") << "" << "macro set-up.rcf 0" << 1 << "" << direct + refused
            << acked + "|BE EF 01 00 00 04 02 56|BE EF 00 00 00 05 04 50" << "";
        QTest::newRow("missing file") << "" << "macro missing.rcf 0" << 1 << "" << "Function ConfigLoad: Error: File not found (missing.rcf)\n" << "" << "";
        QTest::newRow("help") << "" << "--help" << 0 << "usage: velmora-ctl check|init|macro|names|route|snapshot|state|status ...\n" << "" << "" << "";
        QTest::newRow("unknown command") << "" << "bogus 1" << 2 << ""
            << "velmora-ctl: unknown command 'bogus'\nusage: velmora-ctl check|init" << "" << "";
        for (const auto &[arguments, usage] :
             {std::pair{"", "check|init|macro|names|route"}, std::pair{"check --strict", "check"}, std::pair{"route set-up.rcf 16 1 1", "route"},
              std::pair{"init --com-port COM5", "init"}, std::pair{"init --demo --demo", "init"},
              std::pair{"macro set-up.rcf 12", "macro"}, std::pair{"state 0 -1", "state"},
              std::pair{"route --timeout 0 set-up.rcf 0 1 1", "route"}, std::pair{"snapshot recall", "snapshot"},
              std::pair{"snapshot save a --all", "snapshot"}, std::pair{"snapshot save a\"b", "snapshot"},
              std::pair{"names import", "names"}, std::pair{"names export a b", "names"}})
            QTest::addRow("usage: '%s'", arguments) << "" << QString::fromLatin1(arguments) << 2 << ""
                << "usage: velmora-ctl " + QString::fromLatin1(usage) << "" << "";
        QTest::newRow("panel: route refused") << "scripted" << "route set-up.rcf 1 2 4 1" << 1 << "" << refused << "" << "route 1 2 4 1";
        QTest::newRow("panel: macro") << "scripted" << "macro set-up.rcf 0" << 0 << "" << "" << "" << "macro 0";
        QTest::newRow("panel: state") << "scripted" << "state 0 4" << 0
            << "video 2 audio -1\noutput 21 \"Monitor\"\nvideo 3 \"Cam 3\"\naudio none\n" << "" << "" << "state 0 4";
        QTest::newRow("panel: names") << "scripted" << "names" << 0 << RouterLine + u'\n' << "" << "" << "";
        QTest::newRow("panel: snapshot") << "scripted" << "snapshot recall show" << 1 << "" << "no show files\n" << "" << "";
        QTest::newRow("no panel: snapshot") << "" << "snapshot list" << 1 << ""
            << "No panel is running: snapshots are taken and recalled by the panel\n" << "" << "";
        QTest::newRow("stopped panel: time-out") << "silent" << "route --timeout 1 set-up.rcf 0 3 5" << 1 << ""
            << "The Velmora panel did not answer within 1 s\n" << "" << "";
        QTest::newRow("panel without socket") << "locked" << "macro set-up.rcf 0" << 1 << ""
            << "A Velmora panel holds the control port but does not answer\n" << "" << "";
        // No panel, as under cron: only velmora-ctl's own message, none of Qt's about the variable.
        QTest::newRow("no XDG_RUNTIME_DIR") << "unset" << "state 0 4" << 1 << "" << noPanel << "" << "";
        QTest::newRow("panel: route --direct") << "scripted" << "route --direct set-up.rcf 0 3 5" << 0 << "" << direct << acked << "";
        // clang-format on
    }

    void run()
    {
        const auto [panel, arguments, out, err, wire] =
            fetch<QString, QString, QString, QString, QString>({"panel", "arguments", "out", "err", "wire"});
        CtlFolder folder;
        QVERIFY(folder.prepare());
        ScriptedPanel scripted;
        RecordingStatusSink status;
        ControlPort port(scripted, status);
        QVERIFY(panel != u"scripted" || port.listen());
        QLocalServer silent;
        QVERIFY(panel != u"silent" || silent.listen(controlSocketName()));
        const std::unique_ptr<QLockFile> lock = controlPortLock();
        QVERIFY(panel != u"locked" || lock->tryLock(0));
        const Run run = folder.run(arguments.split(u' ', Qt::SkipEmptyParts),
                                   panel == u"unset" ? QStringList{"XDG_RUNTIME_DIR"} : QStringList{});
        QTEST(run.exitCode, "exitCode");
        QVERIFY2(run.out.startsWith(out.toUtf8()) && run.out.isEmpty() == out.isEmpty(), run.out.constData());
        const QByteArray runErr = QByteArray(run.err).replace(folder.folder.path().toUtf8(), "FOLDER");
        QVERIFY2(runErr.startsWith(err.toUtf8()) && runErr.isEmpty() == err.isEmpty(), runErr.constData());
        QTEST(scripted.calls.join(u'|'), "calls");
        QVERIFY(folder.sim.waitForFrames(int(wire.split(u'|', Qt::SkipEmptyParts).size())));
        QCOMPARE(folder.sim.wire().join(u'|'), wire);
    }

    // init writes default.rcf into the data folder, exactly as a save would
    // write it back and loading without a box or a line not taken (the
    // demonstration set-up is also what the run command seeds its folder
    // with); a second init refuses and leaves it as it is.
    void firstSetUp_data()
    {
        columns<QString, QByteArray>({"arguments", "written"});
        const QByteArray demo = readTestFile(QStringLiteral(VELMORA_DEMO_SETUP));
        QTest::newRow("demonstration") << "init --demo" << demo;
        QTest::newRow("demonstration on COM2")
            << "init --com-port COM2 --demo" << QByteArray(demo).replace("Com Port: 1", "Com Port: 2");
        QTest::newRow("one router") << "init --com-port com4"
                                    << Header +
                                           "Com Port: 4\r\nRouter Timeout: 3\r\nRouter: 0; 0; 15; 15; 0; 0; 0;In 01;";
    }

    void firstSetUp()
    {
        const auto [arguments, written] = fetch<QString, QByteArray>({"arguments", "written"});
        const CtlFolder folder;
        const QString setUp = folder.folder.filePath(QStringLiteral("Velmora/1.1/default.rcf"));
        for (const int exitCode : {0, 1}) {
            const Run run = folder.run(arguments.split(u' '));
            QCOMPARE(run.exitCode, exitCode);
            QCOMPARE(run.err.contains("already exists; init never replaces a set-up"), exitCode == 1);
            QVERIFY(readTestFile(setUp).startsWith(written));
        }
        const Run check = folder.run({QStringLiteral("check"), QStringLiteral("--strict"), setUp});
        QCOMPARE(check.err, QByteArray());
        QCOMPARE(check.out, readTestFile(setUp));
    }
};

QTEST_GUILESS_MAIN(TestVelmoraCtl)
#include "tst_velmoractl.moc"
