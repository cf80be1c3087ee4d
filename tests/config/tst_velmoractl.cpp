#include "ConfigTestSupport.h"

#include <QProcess>

namespace {

const QByteArray Header = "VL ConfigFile 1.2\r\n";

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runCtl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(VELMORA_CTL), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray startupFile(const QStringList &routerAndMacroLines)
{
    return crlfLines(QStringList{"VL ConfigFile 1.2", "Com Port: 0", "Router Timeout: 3"} + routerAndMacroLines);
}

} // namespace

class TestVelmoraCtl : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // Each row: a file, then what check prints on standard error and
    // standard output and its exit status. Standard output is the file a
    // save would write; the loads start from the start-up state.
    void check_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<int>("exitCode");

        const QByteArray golden = readTestFile(testDataPath(QStringLiteral("config/golden.rcf")));
        QTest::newRow("written by the program") << golden << QByteArray() << golden << 0;
        QTest::newRow("edited by hand") << readTestFile(testDataPath(QStringLiteral("config/hand-edited.rcf")))
                                        << QByteArray()
                                        << readTestFile(testDataPath(QStringLiteral("config/hand-edited.expected.rcf")))
                                        << 0;
        QTest::newRow("header in lower case")
            << QByteArray("vl configfile 1.2\r\n")
            << QByteArray("Velmora: This is not a valid configuration file for this version of the program\n")
            << QByteArray() << 1;
        QTest::newRow("header with a trailing blank")
            << QByteArray("VL ConfigFile 1.2 \r\n")
            << QByteArray("Velmora: This is not a valid configuration file for this version of the program\n")
            << QByteArray() << 1;
        QTest::newRow("empty file") << QByteArray()
                                    << QByteArray("Function ConfigLoad: Error: Input past end of file\n")
                                    << QByteArray() << 1;
        QTest::newRow("ports")
            << Header + "COM PORT: 4\r\ncom port:3.4\r\n Com Port: 1\r\nCom Port : 2\r\nCom Port: 9\r\n"
            << QByteArray()
            << crlfLines({"VL ConfigFile 1.2", "Com Port: 3", "Router Timeout: 3", "Begin Macros", "End Macros"}) << 0;
        QTest::newRow("timeout 60 and -1 ignored") << Header + "Router Timeout: 60\r\nRouter Timeout: -1\r\n"
                                                   << QByteArray() << startupFile({"Begin Macros", "End Macros"}) << 0;
        QTest::newRow("timeout 0") << Header + "Router Timeout: 0\r\n"
                                   << QByteArray()
                                   << crlfLines({"VL ConfigFile 1.2", "Com Port: 0", "Router Timeout: 0",
                                                 "Begin Macros", "End Macros"})
                                   << 0;
        QTest::newRow("timeout of letters")
            << Header + "Router Timeout: soon\r\n"
            << QByteArray("Function ConfigLoad: Error: Type mismatch\n") << QByteArray() << 1;
        QTest::newRow("empty timeout") << Header + "Router Timeout:\r\n"
                                       << QByteArray("Function ConfigLoad: Error: Type mismatch\n") << QByteArray()
                                       << 1;
        QTest::newRow("same frame address twice, address 16")
            << Header + "Router: 0; 2; 0; 0; 0; 0; 0;a; b; \r\nRouter: 1; 2; 0; 0; 0; 0; 0;c: 1; d; \r\n"
                        "Router: 0; 16; 0; 0; 0; 0; 0;x; y; \r\n"
            << QByteArray("Data Error: Frame Address out of range\nInvalid Router--Line 3\r\n")
            << startupFile({"Router: 1; 2; 0; 0; 0; 0; 0;c: 1; d; ", "Begin Macros", "End Macros"}) << 0;
        QTest::newRow("16-bit overflow in a router line")
            << Header + "Router: 0; 1; 100000; 0; 0; 0; 0;\r\n"
            << QByteArray("Function StringVal: Error: Overflow\nInvalid Router--Line 1\r\n")
            << startupFile({"Begin Macros", "End Macros"}) << 0;
        QTest::newRow("32-bit overflow") << Header + "Router: 99999999999; 1\r\n"
                                         << QByteArray("Function ConfigLoad: Error: Overflow\n") << QByteArray() << 1;
        QTest::newRow("no routers") << Header << QByteArray() << startupFile({"Begin Macros", "End Macros"}) << 0;
        QTest::newRow("macro messages")
            << Header + "Begin Macros\r\n  Macro 12: x\r\n  Macro 105: five; {16, 1} = {1, 1}; {0, 200} = {1, 1}; "
                        "{0, 1} = {130, 1}; {0, 1} = {1, 4}; {0, 2} = {1, 1}; ; {0, 3} = {1, 1};\r\n"
                        "  Macro 05: Five again; {1, 2} = {3, 3}; \r\nEnd Macros\r\n"
            << QByteArray("Invalid MacroID--Line 2\r\nInvalid Macro Frame Address--Line 3\r\n"
                          "Invalid Macro OutputID--Line 3\r\nInvalid Macro InputID--Line 3\r\n"
                          "Invalid Macro Level--Line 3\r\n")
            << startupFile({"Begin Macros", "  Macro 05: Five again; {1, 2} = {3, 3}; ", "End Macros"}) << 0;
        QTest::newRow("macro level 300") << Header + "Begin Macros\r\n  Macro 01: x; {0, 1} = {1, 300};\r\n"
                                         << QByteArray("Function ConfigLoad: Error: Overflow\n") << QByteArray() << 1;
        QTest::newRow("begin line with a trailing blank")
            << Header + "Begin Macros \r\n  Macro 01: x; {0, 1} = {1, 1};\r\nEnd Macros\r\n"
            << QByteArray() << startupFile({"Begin Macros", "End Macros"}) << 0;
        QTest::newRow("end line in capitals")
            << Header + "Begin Macros\r\n  Macro 01: x; \r\nEND MACROS\r\nCom Port: 2\r\n"
            << QByteArray() << startupFile({"Begin Macros", "  Macro 00: 2; ", "  Macro 01: x; ", "End Macros"}) << 0;
    }

    void check()
    {
        QFETCH(QByteArray, file);
        const Run run = runCtl({QStringLiteral("check"), writeTestFile(m_dir, file)});
        QTEST(run.err, "err");
        QTEST(run.out, "out");
        QTEST(run.exitCode, "exitCode");
    }

    void missingFile()
    {
        const Run run = runCtl({QStringLiteral("check"), m_dir.filePath(QStringLiteral("missing.rcf"))});
        QCOMPARE(run.err, QByteArray("Function ConfigLoad: Error: File not found\n"));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.exitCode, 1);
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
