#include "ConfigTestSupport.h"
#include "desktop/AppFolder.h"
#include "desktop/ScriptedDialogs.h"
#include "desktop/ScriptedShell.h"

using desktop::ScriptedDialogs;
using desktop::ScriptedShell;

namespace {

const QByteArray Header = "VL ConfigFile 1.2\r\n";
const QString NotAConfigFile =
    QStringLiteral("Velmora: This is not a valid configuration file for this version of the program");

// Hands out the header and the first line, then fails like a broken disk.
class FailingDevice final : public QIODevice
{
public:
    explicit FailingDevice(QByteArray start) : m_start(std::move(start))
    {
        open(QIODevice::ReadOnly);
        setErrorString(QStringLiteral("Input/output error"));
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_start.isEmpty())
            return -1;
        const qint64 n = qMin<qint64>(maxSize, m_start.size());
        std::memcpy(data, m_start.constData(), std::size_t(n));
        m_start.remove(0, n);
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_start;
};

struct Snapshot
{
    QByteArray text;
    std::array<clsRouter *, RouterSlotCount> routers{};
    bool loaded = false;
    QString path;
    std::array<QString, MacroBank::SlotCount> names;

    Snapshot(const Configuration &config, const MacroBank &macros)
        : text(ConfigText(config, macros)), loaded(config.ConfigLoaded), path(config.ConfigFilePath),
          names(macros.MacroNames)
    {
        for (int i = 0; i < RouterSlotCount; ++i)
            routers[i] = config.Routers[i].get();
    }
    bool operator==(const Snapshot &) const = default;
};

} // namespace

class TestConfigLoad : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Configuration m_config;
    MacroBank m_macros;

    // Loads the bytes from a file after the prepared set-up.
    void load(const QByteArray &bytes, bool macrosOnly = false)
    {
        QString name = writeTestFile(m_dir, bytes);
        ConfigLoad(m_config, m_macros, name, macrosOnly);
    }

private slots:
    void init()
    {
        m_config = Configuration();
        m_macros = MacroBank();
        prepareSetup(m_config, m_macros);
    }

    void wrongHeaderChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("lower case") << QByteArray("vl configfile 1.2\r\nCom Port: 1\r\n");
        QTest::newRow("trailing blank") << QByteArray("VL ConfigFile 1.2 \r\nCom Port: 1\r\n");
        QTest::newRow("leading blank") << QByteArray(" VL ConfigFile 1.2\r\nCom Port: 1\r\n");
        QTest::newRow("empty first line") << QByteArray("\r\nVL ConfigFile 1.2\r\nCom Port: 1\r\n");
        QTest::newRow("older version") << QByteArray("VL ConfigFile 1.1\r\nCom Port: 1\r\n");
    }

    void wrongHeaderChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        ScriptedDialogs boxes;
        ScriptedShell shell;
        const Snapshot before(m_config, m_macros);
        load(bytes);
        QCOMPARE(boxes.lines(), QStringList{NotAConfigFile});
        QVERIFY(Snapshot(m_config, m_macros) == before);
        QVERIFY(shell.shownTexts.isEmpty());
    }

    // Whatever goes wrong after the header, everything in memory stays as it
    // was, so the exit save cannot write a half-loaded set-up.
    void failedLoadChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("box");

        const QByteArray start = Header + "Com Port: 4\r\nRouter Timeout: 1\r\n"
                                          "Router: 0; 0; 1; 1; 0; 0; 0;a; b; c; d; \r\n"
                                          "Begin Macros\r\n  Macro 01: New; {0, 1} = {1, 1}; \r\nEnd Macros\r\n";
        QTest::newRow("empty file") << QByteArray() << "Error: Input past end of file";
        QTest::newRow("timeout of letters") << start + "Router Timeout: abc\r\n"
                                            << "Error: Type mismatch";
        QTest::newRow("empty timeout") << start + "Router Timeout:\r\n"
                                       << "Error: Type mismatch";
        QTest::newRow("timeout with a comma") << start + "Router Timeout: 1,5\r\n"
                                              << "Error: Type mismatch";
        QTest::newRow("timeout not a float") << start + "Router Timeout: 1e39\r\n"
                                             << "Error: Overflow";
        QTest::newRow("port past 32 bits") << start + "Com Port: 99999999999\r\n"
                                           << "Error: Overflow";
        QTest::newRow("any key past 32 bits") << start + "Comment: -3e10 seconds\r\n"
                                              << "Error: Overflow";
        QTest::newRow("router line past 32 bits") << start + "Router: 2147483648; 1\r\n"
                                                  << "Error: Overflow";
        QTest::newRow("macro level 300") << start +
                                                "Begin Macros\r\n  Macro 02: x; {0, 1} = {1, 300}; \r\nEnd Macros\r\n"
                                         << "Error: Overflow";
        QTest::newRow("macro frame -1") << start + "Begin Macros\r\n  Macro 02: x; {-1, 1} = {1, 1}; \r\n"
                                        << "Error: Overflow";
        QTest::newRow("macro output 256") << start + "Begin Macros\r\n  Macro 02: x; {0, 256} = {1, 1}; \r\n"
                                          << "Error: Overflow";
    }

    void failedLoadChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, box);
        ScriptedDialogs boxes;
        ScriptedShell shell;
        const Snapshot before(m_config, m_macros);
        load(bytes);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].title, QStringLiteral("Function ConfigLoad"));
        QCOMPARE(boxes.shown[0].text, box);
        QVERIFY(Snapshot(m_config, m_macros) == before);
        QVERIFY(shell.shownTexts.isEmpty());
    }

    void readErrorChangesNothing()
    {
        ScriptedDialogs boxes;
        ScriptedShell shell;
        const Snapshot before(m_config, m_macros);
        FailingDevice device(Header + "Com Port: 4\r\nBegin Macros\r\n  Macro 01: New; \r\n");
        ConfigLoadFrom(device, QStringLiteral("broken.rcf"), m_config, m_macros);
        QCOMPARE(boxes.lines(), QStringList{"Function ConfigLoad: Error: Input/output error"});
        QVERIFY(Snapshot(m_config, m_macros) == before);
    }

    void missingFile()
    {
        ScriptedDialogs boxes;
        const Snapshot before(m_config, m_macros);
        QString name = m_dir.filePath(QStringLiteral("missing.rcf"));
        ConfigLoad(m_config, m_macros, name, false);
        QCOMPARE(boxes.lines(), QStringList{"Function ConfigLoad: Error: File not found"});
        QVERIFY(Snapshot(m_config, m_macros) == before);
    }

    // A 16-bit overflow inside a router line is the record's own failure: its
    // box, a rejected line, and the load goes on.
    void routerOverflowIsARejectedLine()
    {
        ScriptedDialogs boxes;
        ScriptedShell shell;
        load(Header + "Router: 0; 1; 100000; 0; 0; 0; 0;\r\nCom Port: 3\r\n");
        QCOMPARE(boxes.lines(), QStringList{"Function StringVal: Error: Overflow"});
        QVERIFY(m_config.ConfigLoaded);
        QCOMPARE(m_config.CommPortName, QStringLiteral("COM3"));
        QCOMPARE(shell.shownTexts, QStringList{"Invalid Router--Line 1\r\n"});
    }

    void comPort_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("port");
        QTest::newRow("capitals") << QByteArray("COM PORT: 3") << "COM3";
        QTest::newRow("no blank after the colon") << QByteArray("Com Port:3") << "COM3";
        QTest::newRow("fraction") << QByteArray("Com Port: 3.4") << "COM3";
        QTest::newRow("half to even") << QByteArray("Com Port: 2.5") << "COM2";
        QTest::newRow("trailing text") << QByteArray("com port: 1 (left)") << "COM1";
        QTest::newRow("leading blank ignored") << QByteArray(" Com Port: 3") << "COM2";
        QTest::newRow("blank before the colon ignored") << QByteArray("Com Port : 3") << "COM2";
        QTest::newRow("port 5 ignored") << QByteArray("Com Port: 5") << "COM2";
        QTest::newRow("port 0 ignored") << QByteArray("Com Port: 0") << "COM2";
        QTest::newRow("letters ignored") << QByteArray("Com Port: COM3") << "COM2";
    }

    void comPort()
    {
        QFETCH(QByteArray, line);
        ScriptedDialogs boxes;
        load(Header + line + "\r\n");
        QTEST(m_config.CommPortName, "port");
        QVERIFY(m_config.ConfigLoaded);
        QVERIFY(boxes.shown.isEmpty());
    }

    void routerTimeout_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<float>("timeout");
        QTest::newRow("absent: back to 3") << QByteArray() << 3.0f;
        QTest::newRow("60 ignored") << QByteArray("Router Timeout: 60\r\n") << 3.0f;
        QTest::newRow("-1 ignored") << QByteArray("Router Timeout: -1\r\n") << 3.0f;
        QTest::newRow("0 taken") << QByteArray("Router Timeout: 0\r\n") << 0.0f;
        QTest::newRow("half") << QByteArray("router timeout:0.5\r\n") << 0.5f;
        QTest::newRow("just below 60") << QByteArray("Router Timeout: 59.99\r\n") << 59.99f;
        QTest::newRow("exponent") << QByteArray("Router Timeout: 2.5e1\r\n") << 25.0f;
        QTest::newRow("later line wins") << QByteArray("Router Timeout: 1\r\nRouter Timeout: 2\r\n") << 2.0f;
    }

    void routerTimeout()
    {
        QFETCH(QByteArray, lines);
        ScriptedDialogs boxes;
        // The separator is "." whatever the operator's locale.
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        load(Header + lines);
        QLocale::setDefault(previous);
        QTEST(m_config.RouterTimeout, "timeout");
        QVERIFY(m_config.ConfigLoaded);
        QVERIFY(boxes.shown.isEmpty());
    }

    void routerLines()
    {
        ScriptedDialogs boxes;
        ScriptedShell shell;
        load(Header + "Router: 0; 2; 0; 0; 0; 0; 0;first; first; \r\n"
                      "Router: 1; 2; 0; 0; 0; 0; -1;Cam: 1; PGM: out; \r\n"
                      "Router: 0; 16; 0; 0; 0; 0; 0;x; y; \r\n"
                      "Router: 1; 0; 0; 0; 0; 0; 0;a; b; \r\n");
        QCOMPARE(boxes.lines(), QStringList{"Data Error: Frame Address out of range"});
        // The earlier set-up's routers are all gone; the later line for 2 won.
        QVERIFY(!m_config.Routers[9]);
        QVERIFY(m_config.Routers[0]);
        QVERIFY(m_config.Routers[2]);
        QCOMPARE(m_config.Routers[2]->RouterType(), 1);
        QCOMPARE(m_config.Routers[2]->RouterInName(0), QStringLiteral("Cam: 1"));
        QCOMPARE(m_config.Routers[2]->RouterOutName(0), QStringLiteral("PGM: out"));
        QVERIFY(m_config.Routers[2]->canSplit);
        QCOMPARE(shell.shownTexts, QStringList{"Invalid Router--Line 3\r\n"});
    }

    void noRouterLinesLoadsAnEmptySetup()
    {
        ScriptedDialogs boxes;
        ScriptedShell shell;
        QString name = writeTestFile(m_dir, Header + "Com Port: 1\r\n");
        ConfigLoad(m_config, m_macros, name, false);
        for (const auto &router : m_config.Routers)
            QVERIFY(!router);
        QVERIFY(m_config.ConfigLoaded);
        QCOMPARE(m_config.ConfigFilePath, name);
        QCOMPARE(m_config.RouterTimeout, 3.0f);
        // No macro section: the bank stays as it was.
        QCOMPARE(m_macros.MacroNames[3], QStringLiteral("Kept"));
        QVERIFY(boxes.shown.isEmpty());
        QVERIFY(shell.shownTexts.isEmpty());
    }

    // Line numbers count from the line after the header, over every kind of
    // line end, and the macro section's messages sit among the others.
    void lineEndsAndLineNumbers_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("list");
        QTest::newRow("CR LF") << Header + "x\r\nRouter: 0; 16\r\ny\r\nRouter: 0; 16"
                               << "Invalid Router--Line 2\r\n"
                                  "Invalid Router--Line 4\r\n";
        QTest::newRow("lone CR") << QByteArray("VL ConfigFile 1.2\rx\rRouter: 0; 16\r") << "Invalid Router--Line 2\r\n";
        QTest::newRow("lone LF") << QByteArray("VL ConfigFile 1.2\nx\nRouter: 0; 16\n") << "Invalid Router--Line 2\r\n";
        QTest::newRow("LF CR is two ends") << Header + "x\n\rRouter: 0; 16\r\n"
                                           << "Invalid Router--Line 3\r\n";
        QTest::newRow("blank lines count") << Header + "\r\n\r\n\r\nRouter: 0; 16\r\n"
                                           << "Invalid Router--Line 4\r\n";
        QTest::newRow("macro section in file order")
            << Header + "Router: 0; 16\r\nBegin Macros\r\n  Macro 12: x\r\n  Macro 01: y; {16,0}={0,1};\r\n"
                        "End Macros\r\nRouter: 0; 16\r\n"
            << "Invalid Router--Line 1\r\nInvalid MacroID--Line 3\r\nInvalid Macro Frame Address--Line 4\r\n"
               "Invalid Router--Line 6\r\n";
    }

    void lineEndsAndLineNumbers()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, list);
        ScriptedDialogs boxes;
        ScriptedShell shell;
        load(bytes);
        QVERIFY(m_config.ConfigLoaded);
        QCOMPARE(shell.shownTexts, QStringList{list});
    }

    // Lines longer than a read chunk (64 KiB), and a CR LF split between two
    // chunks, read like any other line.
    void linesAcrossChunks()
    {
        ScriptedDialogs boxes;
        ScriptedShell shell;
        const QByteArray name(70000, 'n');
        QByteArray bytes = Header + "Router: 0; 0; 0; 0; 0; 0; 0;" + name + "; b; \r\nNote: ";
        const qsizetype secondChunkEnd = 2 * 65536 - 1;
        bytes += QByteArray(secondChunkEnd - bytes.size(), 'z') + "\r\nRouter: 0; 16\r\n";
        QCOMPARE(bytes[secondChunkEnd], '\r');
        load(bytes);
        QVERIFY(m_config.ConfigLoaded);
        QCOMPARE(m_config.Routers[0]->RouterInName(0), QString::fromLatin1(name));
        QCOMPARE(m_config.Routers[0]->RouterOutName(0), QStringLiteral("b"));
        QCOMPARE(shell.shownTexts, QStringList{"Invalid Router--Line 3\r\n"});
    }

    void rejectedLinesDisplayFailureStillCompletesTheLoad()
    {
        ScriptedDialogs boxes;
        ScriptedShell shell;
        shell.failShowText = QStringLiteral("Cannot open display.txt for display");
        QString name = writeTestFile(m_dir, Header + "Router: 0; 16\r\n");
        ConfigLoad(m_config, m_macros, name, false);
        QCOMPARE(boxes.lines(), (QStringList{"Data Error: Frame Address out of range",
                                             "Function ConfigLoad: Error: Cannot open display.txt for display"}));
        QVERIFY(m_config.ConfigLoaded);
        QCOMPARE(m_config.ConfigFilePath, name);
    }

    void openDialogAsksForTheName()
    {
        QTemporaryDir appData;
        qputenv("XDG_DATA_HOME", appData.path().toUtf8());
        ScriptedDialogs boxes;
        ScriptedShell shell;
        const QString chosen = writeTestFile(m_dir, Header + "Com Port: 4\r\n");
        shell.openAnswers.enqueue(chosen);
        QString name;
        ConfigLoad(m_config, m_macros, name, true);
        QCOMPARE(shell.openDialogs.size(), 1);
        QCOMPARE(shell.openDialogs[0],
                 (ScriptedShell::FileDialog{"Configuration File", "*.rcf:*.rcf", QString(), desktop::AppFolder()}));
        QCOMPARE(name, chosen);
        // The macros-only command loads the whole file too.
        QCOMPARE(m_config.CommPortName, QStringLiteral("COM4"));
        QCOMPARE(m_config.ConfigFilePath, chosen);
    }

    void cancelledOpenDialogChangesNothing()
    {
        QTemporaryDir appData;
        qputenv("XDG_DATA_HOME", appData.path().toUtf8());
        ScriptedDialogs boxes;
        ScriptedShell shell;
        const Snapshot before(m_config, m_macros);
        QString name;
        ConfigLoad(m_config, m_macros, name, false);
        QCOMPARE(shell.openDialogs.size(), 1);
        QVERIFY(name.isEmpty());
        QVERIFY(Snapshot(m_config, m_macros) == before);
        QVERIFY(boxes.shown.isEmpty());
    }

    void defaultConfigPath()
    {
        QTemporaryDir appData;
        qputenv("XDG_DATA_HOME", appData.path().toUtf8());
        QCOMPARE(DefaultConfigPath(), appData.path() + QStringLiteral("/Velmora/1.1/default.rcf"));
    }
};

QTEST_GUILESS_MAIN(TestConfigLoad)
#include "tst_configload.moc"
