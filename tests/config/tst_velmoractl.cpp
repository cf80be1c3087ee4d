#include "ConfigTestSupport.h"

#include <QProcess>

// velmora-ctl check's own contract; what a load makes of a file is the
// in-process suites' part.
class TestVelmoraCtl : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    struct Run
    {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    static Run runCtl(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral(VELMORA_CTL), arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return {};
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }

private slots:
    // Each row: a file, then what check prints on standard error (every box
    // as "<title>: <text>", then the rejected lines as is) and on standard
    // output (the bytes a save would write, from the start-up state), and its
    // exit status.
    void check_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<int>("exitCode");

        QTest::newRow("edited by hand") << readTestFile(testDataPath(QStringLiteral("config/hand-edited.rcf")))
                                        << QByteArray()
                                        << readTestFile(testDataPath(QStringLiteral("config/hand-edited.expected.rcf")))
                                        << 0;
        // The run command seeds the demonstration folder with this file, so
        // it must load without a box and be exactly what a save writes back.
        const QByteArray demo = readTestFile(QStringLiteral(VELMORA_DEMO_SETUP));
        QTest::newRow("demonstration set-up") << demo << QByteArray() << demo << 0;
        QTest::newRow("rejected lines")
            << Header + "Router: 0; 2; 0; 0; 0; 0; 0;a; b; \r\nRouter: 0; 16; 0; 0; 0; 0; 0;x; y; \r\n"
            << QByteArray("Data Error: Frame Address out of range\nInvalid Router--Line 2\r\n")
            << QByteArray("VL ConfigFile 1.2\r\nCom Port: 0\r\nRouter Timeout: 3\r\n"
                          "Router: 0; 2; 0; 0; 0; 0; 0;a; b; \r\nBegin Macros\r\nEnd Macros\r\n")
            << 0;
        QTest::newRow("wrong header")
            << QByteArray("vl configfile 1.2\r\n")
            << QByteArray("Velmora: This is not a valid configuration file for this version of the program\n")
            << QByteArray() << 1;
        QTest::newRow("failure after the header")
            << Header + "Com Port: 1\r\nRouter Timeout: soon\r\n"
            << QByteArray("Function ConfigLoad: Error: Type mismatch\n") << QByteArray() << 1;
    }

    void check()
    {
        QFETCH(QByteArray, file);
        const Run run = runCtl({QStringLiteral("check"), writeTestFile(m_dir, file)});
        QTEST(run.err, "err");
        QTEST(run.out, "out");
        QTEST(run.exitCode, "exitCode");
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("unknown command") << QStringList{"frobnicate", "x.rcf"};
        QTest::newRow("no file") << QStringList{"check"};
        QTest::newRow("empty file name") << QStringList{"check", ""};
        QTest::newRow("two files") << QStringList{"check", "a.rcf", "b.rcf"};
    }

    void usage()
    {
        QFETCH(QStringList, arguments);
        const Run run = runCtl(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith("usage: velmora-ctl "), run.err.constData());
        QCOMPARE(run.err.count('\n'), 1);
    }
};

QTEST_GUILESS_MAIN(TestVelmoraCtl)
#include "tst_velmoractl.moc"
