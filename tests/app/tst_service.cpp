#include "RouterSim.h"
#include "remote/ControlSocketName.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <csignal>

// `velmora --no-window` as a service manager runs it: no display variables,
// no platform plugin, the set-up from the data folder, driven through
// velmora-ctl; a stop signal saves and ends with status 0.

namespace {

constexpr int Timeout = 30000;

// Router 0 written loosely (the exit save writes it in the panel's own form)
// and router 1, which the simulator makes refuse every route.
const QByteArray SetUp = "VL ConfigFile 1.2\r\n"
                         "Com Port:   1\r\n"
                         "Router Timeout: 2\r\n"
                         "Router:  0;0;  15; 15; 0; 0; 0; Cam 1;\r\n"
                         "Router: 0; 1; 7; 7; 16; 16; 0;\r\n"
                         "Begin Macros\r\n"
                         "  Macro 00: Show; {0, 3} = {5, 3}; \r\n"
                         "End Macros\r\n";

// "2026-12-07T08:15:02 " before each of the service's lines.
const QString Stamp = QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d ");

QString dataFolder()
{
    return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Velmora/1.1");
}

QString setUpPath()
{
    return dataFolder() + QStringLiteral("/default.rcf");
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void seed(const QByteArray &bytes)
{
    QFile::remove(setUpPath());
    if (bytes.isNull())
        return;
    QVERIFY(QDir().mkpath(dataFolder()));
    QFile file(setUpPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// What a service manager gives a user service: no display of any kind.
void prepare(QProcess &process)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(variable));
    process.setProcessEnvironment(environment);
}

struct Ctl
{
    int exitCode = -1;
    QString out;
    QString err;
};

Ctl ctl(const QStringList &arguments)
{
    QProcess process;
    prepare(process);
    process.start(QStringLiteral(VELMORA_CTL), arguments);
    if (!process.waitForFinished(Timeout) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The panel process, its standard error collected as it comes.
struct Panel
{
    QProcess process;
    QString err;

    explicit Panel(const QStringList &arguments)
    {
        prepare(process);
        // A signal ignored by whoever started the test would stay ignored.
        process.setChildProcessModifier([] {
            for (const int number : {SIGTERM, SIGINT, SIGHUP})
                std::signal(number, SIG_DFL);
        });
        process.start(QStringLiteral(VELMORA_PANEL), arguments);
    }
    ~Panel()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(Timeout);
        }
    }
    bool said(const QString &text)
    {
        return QTest::qWaitFor(
            [&] {
                err += QString::fromUtf8(process.readAllStandardError());
                return err.contains(text);
            },
            Timeout);
    }
    bool ended()
    {
        const bool done = QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, Timeout);
        err += QString::fromUtf8(process.readAllStandardError());
        return done && process.exitStatus() == QProcess::NormalExit;
    }
};

} // namespace

class TestService : public QObject
{
    Q_OBJECT

private slots:
    // Without a set-up to run, or called wrongly, it ends at once with one
    // clear line, leaves the file as it was and holds no control port.
    void refusesToStart_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");
        const QStringList service{"--no-window"};
        const QString noSetUp =
            Stamp + QStringLiteral("No set-up to run: put one with at least one router in %1 \\(velmora with a window "
                                   "writes it; velmora-ctl check verifies a hand-made one\\)\n")
                        .arg(QRegularExpression::escape(QDir::toNativeSeparators(setUpPath())));
        QTest::newRow("no file") << service << QByteArray() << 1 << noSetUp;
        QTest::newRow("no router") << service << QByteArray("VL ConfigFile 1.2\r\nCom Port: 1\r\n") << 1 << noSetUp;
        // The load's own box comes first.
        QTest::newRow("file does not load") << service << SetUp.toLower() << 1 << Stamp + ".*\n" + noSetUp;
        QTest::newRow("unknown option")
            << QStringList{"--no-window", "--videohub-typo"} << SetUp << 2
            << "velmora: Unknown option 'videohub-typo'.\nvelmora --help lists the options.\n";
    }

    void refusesToStart()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, file);
        seed(file);
        Panel panel(arguments);
        QVERIFY(panel.ended());
        QTEST(panel.process.exitCode(), "exitCode");
        QFETCH(QString, err);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(err)).match(panel.err).hasMatch(),
                 qPrintable(panel.err));
        QCOMPARE(readAll(setUpPath()), file);
        QVERIFY(!panelHoldsControlPort());
        const Ctl status = ctl({"status"});
        QCOMPARE(status.exitCode, 1);
        QCOMPARE(status.err, QStringLiteral("No Velmora panel is running\n"));
    }

    // Routes and macros go through its control port to the routers, status
    // tells about it, its messages reach standard error with the time, and a
    // stop signal saves the set-up and removes the socket.
    void servesUntilStopped_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("TERM") << SIGTERM;
        QTest::newRow("INT") << SIGINT;
        QTest::newRow("HUP") << SIGHUP;
    }

    void servesUntilStopped()
    {
        QFETCH(int, signalNumber);
        seed(SetUp);
        RouterSim sim;
        QVERIFY(sim.start(dataFolder() + QStringLiteral("/ports/COM1"),
                          {"--no-pacing", "--answer", "0=ack", "--answer", "*=code:21"}));
        Panel panel({"--no-window"});
        QVERIFY2(panel.said(QStringLiteral("Running without a window")), qPrintable(panel.err));
#ifdef Q_OS_LINUX
        const QByteArray maps = readAll(QStringLiteral("/proc/%1/maps").arg(panel.process.processId()));
        QVERIFY(maps.contains("libQt6Core"));
        QVERIFY2(!maps.contains("/platforms/"), "a platform plugin was loaded");
#endif

        QCOMPARE(ctl({"route", "unused.rcf", "0", "3", "5"}).exitCode, 0);
        QCOMPARE(ctl({"macro", "unused.rcf", "0"}).exitCode, 0);
        QCOMPARE(ctl({"state", "0", "3"}).out, QStringLiteral("video 5 audio 5\n"));
        const Ctl refused = ctl({"route", "unused.rcf", "1", "2", "4"});
        QCOMPARE(refused.exitCode, 1);
        QCOMPARE(refused.err, QStringLiteral("Router returned 21\n"));
        QVERIFY(sim.waitForFrames(3));
        QCOMPARE(sim.frames().size(), 3);
        QVERIFY(panel.said(QStringLiteral("Router returned 21")));
        QVERIFY2(QRegularExpression(Stamp + QStringLiteral("Router returned 21\n")).match(panel.err).hasMatch(),
                 qPrintable(panel.err));

        const Ctl status = ctl({"status"});
        QCOMPARE(status.exitCode, 0);
        const QString folder = QDir::toNativeSeparators(dataFolder());
        const QString expected = QStringLiteral("panel service\n"
                                                "data-folder %1\n"
                                                "set-up %2\n"
                                                "com-port COM1 open %3\n"
                                                "last-message %4Router returned 21\n"
                                                "videohub off\n")
                                     .arg(QRegularExpression::escape(folder),
                                          QRegularExpression::escape(QDir::toNativeSeparators(setUpPath())),
                                          QRegularExpression::escape(folder + QStringLiteral("/ports/COM1")), Stamp);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(expected)).match(status.out).hasMatch(),
                 qPrintable(status.out));

        QCOMPARE(::kill(pid_t(panel.process.processId()), signalNumber), 0);
        QVERIFY(panel.ended());
        QCOMPARE(panel.process.exitCode(), 0);
        const QByteArray saved = readAll(setUpPath());
        QVERIFY2(saved.startsWith("VL ConfigFile 1.2\r\nCom Port: 1\r\nRouter Timeout: 2\r\n"
                                  "Router: 0; 0; 15; 15; 0; 0; 0;Cam 1; "),
                 saved.constData());
        QVERIFY(saved.contains("Macro 00: Show; {0, 3} = {5, 3}; \r\n"));
        QVERIFY(!QFile::exists(controlSocketName()));
    }
};

QTEST_GUILESS_MAIN(TestService)
#include "tst_service.moc"
