#include "remote/control/ControlSocketName.h"
#include "support/ConfigTestSupport.h"
#include "support/DataRows.h"
#include "support/RouterSim.h"
#include "support/RuntimeSetting.h"
#include "support/VideohubPeer.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

// `velmora --no-window` as a service manager runs it: no display variables,
// no platform plugin, the set-up from the data folder, driven through
// velmora-ctl; a stop signal saves and ends with status 0.

namespace {

constexpr int Timeout = 30000;

// Router 0 written loosely (the exit save writes it in the panel's own form)
// and router 1, which the simulator makes refuse every route.
const QByteArray SetUp = "VL ConfigFile 1.2\r\nCom Port:   1\r\nRouter Timeout: 2\r\n"
                         "Router:  0;0;  15; 15; 0; 0; 0; Cam 1;\r\nRouter: 0; 1; 7; 7; 16; 16; 0;\r\n"
                         "Begin Macros\r\n  Macro 00: Show; {0, 3} = {5, 3}; \r\nEnd Macros\r\n";

const QString Folder = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Velmora/1.1");
const QString SetUpPath = Folder + QStringLiteral("/default.rcf");

// The set-up file holding `bytes`; none for a null array.
bool seed(const QByteArray &bytes)
{
    QFile file(SetUpPath);
    return QDir().mkpath(Folder) &&
           (bytes.isNull() || (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()));
}

// The service's lines with their time ("2026-12-07T08:15:02 ") as "TIME ".
QString timeless(QString text)
{
    static const QRegularExpression time(QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d "));
    return text.replace(time, QStringLiteral("TIME "));
}

// Started as a service manager starts a user service: no display of any kind.
struct Program : QProcess
{
    QString err;

    // descriptors: how many files the program may have open, 0 for the usual limit.
    Program(const char *program, const QStringList &arguments, rlim_t descriptors = 0)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(variable));
        setProcessEnvironment(environment);
        // A signal ignored by whoever started the test would stay ignored.
        setChildProcessModifier([descriptors] {
            for (const int number : {SIGTERM, SIGINT, SIGHUP})
                std::signal(number, SIG_DFL);
            rlimit limit{descriptors, descriptors};
            if (descriptors > 0)
                (void)setrlimit(RLIMIT_NOFILE, &limit);
        });
        start(QLatin1String(program), arguments);
    }
    bool said(const QString &text)
    {
        return QTest::qWaitFor(
                   [&] {
                       err += timeless(QString::fromUtf8(readAllStandardError()));
                       return err.contains(text) || state() == NotRunning;
                   },
                   Timeout) &&
               err.contains(text);
    }
    // Stopped as the service manager stops it.
    bool stop() { return ::kill(pid_t(processId()), SIGTERM) == 0 && ended(); }
    bool ended()
    {
        const bool done = waitForFinished(Timeout) && exitStatus() == NormalExit;
        err += timeless(QString::fromUtf8(readAllStandardError()));
        return done;
    }
};

// A loopback port nobody listens on just now.
quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

// velmora-ctl ARGUMENTS: its exit status, then what it wrote to standard output and error.
QString ctl(const QStringList &arguments)
{
    Program process(VELMORA_CTL, arguments);
    if (!process.ended())
        return {};
    return QString::number(process.exitCode()) + QLatin1Char(' ') + timeless(process.readAllStandardOutput()) +
           process.err;
}

} // namespace

class TestService : public QObject
{
    Q_OBJECT

private slots:
    // Nothing of an earlier case or run (a port link of a simulator gone) counts.
    void init() { QVERIFY(QDir(Folder).removeRecursively()); }

    // Without a set-up to run, or called wrongly, or (with its window)
    // without a display, it ends at once with one clear line, leaves the file
    // as it was and holds no control port. The logging rules leave out the
    // lines of a layer (here the status line's) and only those.
    void refusesToStart_data()
    {
        columns<QString, QByteArray, int, QString, QByteArray>({"arguments", "file", "exitCode", "err", "rules"});
        const QString noSetUp = QStringLiteral("TIME No set-up to run: put one with at least one router in %1 "
                                               "(velmora-ctl init writes one to edit, velmora-ctl init --demo "
                                               "the demonstration one; velmora-ctl check verifies a hand-made one)\n")
                                    .arg(QDir::toNativeSeparators(SetUpPath));
        // clang-format off
        const QByteArray noRouter("VL ConfigFile 1.2\r\nCom Port: 1\r\n");
        QTest::newRow("no file") << "--no-window" << QByteArray() << 1 << noSetUp << QByteArray();
        QTest::newRow("no router") << "--no-window" << noRouter << 1 << "TIME Comm Port 1 is unavailable\n" + noSetUp << QByteArray();
        QTest::newRow("no router, status lines off") << "--no-window" << noRouter << 1 << noSetUp << QByteArray("velmora.panel=false");
        QTest::newRow("file does not load") << "--no-window" << SetUp.toLower() << 1
            << QStringLiteral("TIME Velmora: This is not a valid configuration file for this version of the program (%1, line 1)\n"
                              "TIME The set-up in %1 did not load (see above): correct it (velmora-ctl check verifies it) "
                              "or remove it\n").arg(QDir::toNativeSeparators(SetUpPath)) << QByteArray();
        QTest::newRow("unknown option") << "--no-window --videohub-typo" << SetUp << 2
            << "velmora: Unknown option 'videohub-typo'.\nvelmora --help lists the options.\n" << QByteArray();
        QTest::newRow("unreadable address") << "--no-window --videohub=1.2.3" << SetUp << 2
            << "velmora: --videohub: cannot read the address \"1.2.3\" (ADDRESS:PORT)\nvelmora --help lists the options.\n" << QByteArray();
        QTest::newRow("window without a display") << "" << SetUp << 1 << "velmora: No display (neither DISPLAY nor "
            "WAYLAND_DISPLAY is set). Without a window: velmora --no-window, or as a service: systemctl --user "
            "enable --now velmora.\n" << QByteArray();
        // clang-format on
    }

    void refusesToStart()
    {
        const auto [arguments, file, rules] = fetch<QString, QByteArray, QByteArray>({"arguments", "file", "rules"});
        // COM1 leads nowhere rather than to whatever serial port this machine has.
        QVERIFY(seed(file) && QDir().mkpath(Folder + QStringLiteral("/ports")));
        QVERIFY(QFile::link(QStringLiteral("nowhere"), Folder + QStringLiteral("/ports/COM1")));

        qputenv("QT_LOGGING_RULES", rules);
        Program panel(VELMORA_PANEL, arguments.split(u' ', Qt::SkipEmptyParts));
        qunsetenv("QT_LOGGING_RULES");
        QVERIFY(panel.ended());
        QTEST(panel.exitCode(), "exitCode");
        QTEST(panel.err, "err");
        QCOMPARE(readTestFile(SetUpPath), file);
        QVERIFY(!panelHoldsControlPort());
        QCOMPARE(ctl({"status"}), QStringLiteral("1 No Velmora panel is running\n"));
    }

    // Routes go through its control port to the routers, status tells about
    // it and the Videohub server's clients, its messages reach standard error
    // with the time, and the service manager's stop signal saves the set-up
    // and removes the socket (INT and HUP: the stop-signal test). A second
    // panel on its data folder does not start. Without a runtime folder (root
    // in a container) the panel and velmora-ctl meet in the program's own.
    void servesUntilStopped()
    {
        const RuntimeSetting noRuntimeFolder{QByteArray()};
        if (!QFileInfo::exists(QStringLiteral("/run/user/%1").arg(geteuid())))
            QVERIFY(controlSocketName().startsWith(noRuntimeFolder.temporaryFolder() + QStringLiteral("/velmora-")));
        QVERIFY(seed(SetUp));
        RouterSim sim;
        QVERIFY(sim.start(Folder + QStringLiteral("/ports/COM1"),
                          {"--no-pacing", "--answer", "0=ack", "--answer", "*=code:21"}));
        const QString videohub = QStringLiteral("127.0.0.1:%1").arg(freePort());
        Program panel(VELMORA_PANEL, {"--no-window", "--videohub=" + videohub});
        QVERIFY2(panel.said(QStringLiteral("TIME Running without a window")), qPrintable(panel.err));
#ifdef Q_OS_LINUX
        const QByteArray maps = readTestFile(QStringLiteral("/proc/%1/maps").arg(panel.processId()));
        QVERIFY(maps.contains("libQt6Core"));
        QVERIFY2(!maps.contains("/platforms/"), "a platform plugin was loaded");
#endif

        QCOMPARE(ctl({"route", "unused.rcf", "0", "3", "5"}), QStringLiteral("0 "));
        QCOMPARE(ctl({"state", "0", "3"}),
                 QStringLiteral("0 video 5 audio 5\noutput 4 \"\"\nvideo 6 \"\"\naudio 6 \"\"\n"));
        QCOMPARE(ctl({"route", "unused.rcf", "1", "2", "4"}), QStringLiteral("1 Router returned 21\n"));
        const auto client = VideohubPeer::pastDump(videohub.section(u':', 1).toUShort(), QHostAddress::LocalHost);
        QVERIFY(sim.waitForFrames(2));
        QCOMPARE(sim.frames().size(), 2);
        QVERIFY(panel.said(QStringLiteral("\nTIME Router returned 21\n")));
        const QString folder = QDir::toNativeSeparators(Folder);
        QCOMPARE(ctl({"status"}), QStringLiteral("0 panel service\ndata-folder %1\nset-up %2\n"
                                                 "com-port COM1 open %3\nlast-message TIME Router returned 21\n"
                                                 "videohub %4 clients 1\nswp08 off\numd off\n")
                                      .arg(folder, QDir::toNativeSeparators(SetUpPath),
                                           QDir::toNativeSeparators(Folder + QStringLiteral("/ports/COM1")), videohub));

        Program second(VELMORA_PANEL, {"--no-window"});
        QVERIFY(second.ended());
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(second.err, QStringLiteral("TIME Velmora: Velmora is already running with the set-up in ") + folder +
                                 QLatin1Char('\n'));
        QCOMPARE(ctl({"state", "0", "3"}).section(u'\n', 0, 0), QStringLiteral("0 video 5 audio 5"));

        QVERIFY(panel.stop());
        QCOMPARE(panel.exitCode(), 0);
        const QByteArray saved = readTestFile(SetUpPath);
        QVERIFY2(saved.startsWith("VL ConfigFile 1.2\r\nCom Port: 1\r\nRouter Timeout: 2\r\n"
                                  "Router: 0; 0; 15; 15; 0; 0; 0;Cam 1; ") &&
                     saved.contains("Macro 00: Show; {0, 3} = {5, 3}; \r\n"),
                 saved.constData());
        QVERIFY(!QFile::exists(controlSocketName()));
    }

    // Show files through velmora-ctl, the panel running without a window: a
    // recall's routes reach the line one at a time in output order, its
    // progress and result on standard error, status 1 for a failed route;
    // a name list imported reaches a Videohub client as one label block.
    void showFiles()
    {
        QVERIFY(seed(SetUp));
        RouterSim sim;
        QVERIFY(sim.start(Folder + QStringLiteral("/ports/COM1"),
                          {"--no-pacing", "--answer", "0=ack", "--answer", "*=code:21"}));
        const quint16 port = freePort();
        Program panel(VELMORA_PANEL, {"--no-window", QStringLiteral("--videohub=127.0.0.1:%1").arg(port)});
        QVERIFY2(panel.said(QStringLiteral("TIME Running without a window")), qPrintable(panel.err));
        QVERIFY(QDir().mkpath(Folder + QStringLiteral("/snapshots")));
        QFile file(Folder + QStringLiteral("/snapshots/two shows.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("output,video,audio\r\n18,17,17\r\n3,6,6\r\n1,2,\r\n");
        file.close();

        QCOMPARE(ctl({"snapshot", "recall", "two shows"}),
                 QStringLiteral("1 Recalling \"two shows\": 0 of 3 routes\nRecalling \"two shows\": 1 of 3 routes\n"
                                "Recalling \"two shows\": 2 of 3 routes\nRecalling \"two shows\": 3 of 3 routes\n"
                                "Recalled \"two shows\": 2 routes taken, 0 outputs locked, 1 failed\n"));
        QVERIFY(sim.waitForFrames(3));
        QStringList frames;
        for (const QString &frame : sim.frames())
            frames.append(frame.section(u' ', 8, 10));
        QCOMPARE(frames,
                 (QStringList{"router=0 input=1 output=0", "router=0 input=5 output=2", "router=1 input=0 output=1"}));
        QCOMPARE(ctl({"snapshot", "save", "two shows"}), QStringLiteral("1 snapshot \"two shows\" exists\n"));
        QCOMPARE(ctl({"snapshot", "diff", "two shows"}), QStringLiteral("0 output 18 \"\" both none -> 17 \"\"\n"));

        const auto client = VideohubPeer::pastDump(port, QHostAddress::LocalHost);
        const QString list = Folder + QStringLiteral("/names.csv");
        QFile names(list);
        QVERIFY(names.open(QIODevice::WriteOnly));
        names.write("kind,number,name\r\ninput,1,Cam A\r\ninput,3,Cam C\r\n");
        names.close();
        QCOMPARE(ctl({"names", "import", list}), QStringLiteral("0 2 names changed\n"));
        QCOMPARE(client->waitForBlocks(VideohubPeer::DumpBlocks + 1).last().join(u'|'),
                 QStringLiteral("INPUT LABELS:|0 Cam A|2 Cam C"));
        QVERIFY(panel.stop());
    }

    // Out of descriptors, with Videohub clients holding them all: the
    // server rests instead of spinning, and a stop signal still saves (the
    // clients let go first). A save that fails ends with status 1.
    void stopSavesOrSaysItCannot()
    {
        QVERIFY(seed(SetUp));
        RouterSim sim;
        QVERIFY(sim.start(Folder + QStringLiteral("/ports/COM1"), {"--no-pacing"}));
        const quint16 port = freePort();
        Program panel(VELMORA_PANEL, {"--no-window", "--videohub=127.0.0.1:" + QString::number(port)}, 32);
        QVERIFY2(panel.said(QStringLiteral("TIME Running without a window")), qPrintable(panel.err));
        // Once first, so that leaving does not run for the first time
        // without descriptors: the sanitizer needs one to look at a new type.
        (void)VideohubPeer::pastDump(port, QHostAddress::LocalHost);
        const auto renamer = VideohubPeer::pastDump(port, QHostAddress::LocalHost);
        renamer->send("INPUT LABELS:\n1 Renamed at the last minute\n\n");
        QCOMPARE(renamer->next(1), QList<QStringList>{{"ACK"}});
        std::vector<std::unique_ptr<VideohubPeer>> holders;
        for (int i = 0; i < 31; ++i)
            holders.push_back(std::make_unique<VideohubPeer>(port));
        QVERIFY2(panel.said(QStringLiteral("Videohub server cannot accept clients")), qPrintable(panel.err));
        QVERIFY(panel.stop());
        QVERIFY2(panel.exitCode() == 0, qPrintable(panel.err));
        QVERIFY(readTestFile(SetUpPath).contains("; Renamed at the last minute; "));

        Program again(VELMORA_PANEL, {"--no-window"});
        QVERIFY2(again.said(QStringLiteral("TIME Running without a window")), qPrintable(again.err));
        QVERIFY(QFile::remove(SetUpPath) && QDir().mkpath(SetUpPath));
        QVERIFY(again.stop());
        QCOMPARE(again.exitCode(), 1);
        QVERIFY2(again.err.contains("Function ConfigSave"), qPrintable(again.err));
    }
};

QTEST_GUILESS_MAIN(TestService)
#include "tst_service.moc"
