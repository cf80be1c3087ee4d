#include "ConfigTestSupport.h"
#include "desktop/ScriptedDialogs.h"
#include "desktop/ScriptedShell.h"

#include <QDir>

using desktop::ScriptedDialogs;
using desktop::ScriptedShell;

class TestConfigSave : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tempDir;
    Configuration m_config;
    MacroBank m_macros;

    void loadFile(const QString &path)
    {
        QString name = path;
        ConfigLoad(m_config, m_macros, name, false);
    }

private slots:
    void init()
    {
        m_tempDir = std::make_unique<QTemporaryDir>();
        m_config = Configuration();
        m_macros = MacroBank();
    }

    // A file the program wrote comes back byte for byte; one edited by hand
    // comes back normalised.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        QTest::newRow("written by the program") << "config/golden.rcf"
                                                << "config/golden.rcf";
        QTest::newRow("edited by hand") << "config/hand-edited.rcf"
                                        << "config/hand-edited.expected.rcf";
    }

    void roundTrip()
    {
        QFETCH(QString, source);
        QFETCH(QString, expected);
        ScriptedDialogs boxes;
        ScriptedShell shell;
        loadFile(testDataPath(source));
        QVERIFY(m_config.ConfigLoaded);
        QVERIFY(boxes.shown.isEmpty());
        QString name = m_tempDir->filePath(QStringLiteral("saved.rcf"));
        ConfigSave(m_config, m_macros, name);
        QVERIFY(boxes.shown.isEmpty());
        QCOMPARE(readTestFile(name), readTestFile(testDataPath(expected)));
        QCOMPARE(m_config.ConfigFilePath, name);
    }

    void timeoutText_data()
    {
        QTest::addColumn<float>("timeout");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 3.0f << "3";
        QTest::newRow("half") << 0.5f << "0.5";
        QTest::newRow("tenth") << 0.1f << "0.1";
        QTest::newRow("zero") << 0.0f << "0";
        QTest::newRow("seven digits") << 59.99999f << "59.99999";
        QTest::newRow("a third, seven digits") << 1.0f / 3.0f << "0.3333333";
        QTest::newRow("no trailing zeros") << 12.25f << "12.25";
    }

    void timeoutText()
    {
        QFETCH(float, timeout);
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString written = RouterTimeoutText(timeout);
        QLocale::setDefault(previous);
        QTEST(written, "text");
    }

    void extension_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("written");
        QTest::newRow("none") << "setup"
                              << "setup.rcf";
        QTest::newRow("lower case") << "setup.rcf"
                                    << "setup.rcf";
        QTest::newRow("capitals kept") << "SETUP.RCF"
                                       << "SETUP.RCF";
        QTest::newRow("another extension") << "setup.txt"
                                           << "setup.txt.rcf";
    }

    void extension()
    {
        QFETCH(QString, given);
        QFETCH(QString, written);
        ScriptedDialogs boxes;
        QString name = m_tempDir->filePath(given);
        ConfigSave(m_config, m_macros, name);
        QCOMPARE(name, m_tempDir->filePath(written));
        QVERIFY(QFile::exists(name));
        QCOMPARE(m_config.ConfigFilePath, name);
        QVERIFY(boxes.shown.isEmpty());
    }

    void saveDialogProposesTheLastFile()
    {
        ScriptedDialogs boxes;
        ScriptedShell shell;
        m_config.ConfigFilePath = m_tempDir->filePath(QStringLiteral("last.rcf"));
        const ScriptedShell::FileDialog asked{"Configuration File", "*.rcf:*.rcf", m_config.ConfigFilePath, ""};
        shell.saveAnswers.enqueue(m_tempDir->filePath(QStringLiteral("chosen")));
        QString name;
        ConfigSave(m_config, m_macros, name);
        QCOMPARE(shell.saveDialogs, QList<ScriptedShell::FileDialog>{asked});
        QCOMPARE(name, m_tempDir->filePath(QStringLiteral("chosen.rcf")));
        QCOMPARE(m_config.ConfigFilePath, name);
        QVERIFY(QFile::exists(name));
    }

    void cancelledSaveDialogWritesNothing()
    {
        ScriptedDialogs boxes;
        ScriptedShell shell;
        m_config.ConfigFilePath = QStringLiteral("last.rcf");
        QString name;
        ConfigSave(m_config, m_macros, name);
        QVERIFY(name.isEmpty());
        QCOMPARE(m_config.ConfigFilePath, QStringLiteral("last.rcf"));
        QVERIFY(QDir(m_tempDir->path()).isEmpty());
        QVERIFY(boxes.shown.isEmpty());
    }

    // A save that fails reports it, keeps ConfigFilePath and never destroys
    // the previous file. The targets fail even for root.
    void failedSaveKeepsThePreviousFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("previousExists");
        QTest::newRow("folder is a regular file") << "plain-file/setup.rcf" << false;
        QTest::newRow("target is a folder") << "folder.rcf" << false;
        // The file can exist, but nothing can be written beside it under a
        // longer name.
        QTest::newRow("no room for a name beside it") << QString(251, u'a') + ".rcf" << true;
    }

    void failedSaveKeepsThePreviousFile()
    {
        QFETCH(QString, target);
        QFETCH(bool, previousExists);
        ScriptedDialogs boxes;
        writeTestFile(*m_tempDir, "not a folder", QStringLiteral("plain-file"));
        QDir(m_tempDir->path()).mkdir(QStringLiteral("folder.rcf"));
        const QString path = m_tempDir->filePath(target);
        if (previousExists)
            writeTestFile(*m_tempDir, "previous set-up", target);
        m_config.ConfigFilePath = QStringLiteral("last.rcf");

        QString name = path;
        ConfigSave(m_config, m_macros, name);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].title, QStringLiteral("Function ConfigSave"));
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Error: Cannot write ") + QDir::toNativeSeparators(path));
        QCOMPARE(m_config.ConfigFilePath, QStringLiteral("last.rcf"));
        if (previousExists)
            QCOMPARE(readTestFile(path), QByteArray("previous set-up"));
        // Nothing half-written is left beside it.
        QCOMPARE(QDir(m_tempDir->path()).entryList(QDir::Files).size(), previousExists ? 2 : 1);
    }

    // A slot renamed without routes is not written, so its name is lost on
    // the next save and load.
    void renamedEmptySlotLosesItsName()
    {
        ScriptedDialogs boxes;
        ScriptedShell shell;
        m_macros.MacroNames[4] = QStringLiteral("Only a name");
        m_macros.MacroNames[6] = QStringLiteral("Saved, no routes");
        m_macros.Macros[6] = QList<RouteRecord>{};
        QString name = m_tempDir->filePath(QStringLiteral("names.rcf"));
        ConfigSave(m_config, m_macros, name);
        MacroBank reloaded;
        reloaded.MacroNames[4] = QStringLiteral("stale");
        Configuration config;
        ConfigLoad(config, reloaded, name, false);
        QCOMPARE(reloaded.MacroNames[4], MacroBank::UnassignedName);
        QCOMPARE(reloaded.MacroNames[6], QStringLiteral("Saved, no routes"));
        QVERIFY(reloaded.Macros[6] && reloaded.Macros[6]->isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestConfigSave)
#include "tst_configsave.moc"
