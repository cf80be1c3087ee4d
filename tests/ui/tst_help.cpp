#include "desktop/Help.h"
#include "desktop/WholeFile.h"
#include "support/ConfigRig.h"
#include "support/DataRows.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestHelp : public QObject
{
    Q_OBJECT

    QString m_startFolder = QDir::currentPath();

private slots:
    void init() { setHelpFile(HelpFileName); }
    void cleanup() { QDir::setCurrent(m_startFolder); }

    void helpFolder()
    {
        QTemporaryDir prefix;
        const QString bin = prefix.path() + QStringLiteral("/bin");
        QVERIFY(QDir().mkpath(bin));
        // Installed: the page is in the shared data folder of the prefix.
        QCOMPARE(::helpFolder(bin), prefix.path() + QStringLiteral("/share/velmora"));
        // Beside the program (the build tree), that folder wins.
        desktop::writeWholeFile(bin + u'/' + HelpFileName, "<html></html>");
        QCOMPARE(::helpFolder(bin), bin);
        // The build copies the page beside the programs.
        QCOMPARE(::helpFolder(QStringLiteral(VELMORA_BIN_DIR)), QStringLiteral(VELMORA_BIN_DIR));

        // Once the configuration dialog opened, the page is looked for in
        // the program's folder; a second opening leaves that path alone.
        ConfigRig rig;
        rig.open();
        const QString expected = ::helpFolder(QCoreApplication::applicationDirPath()) + u'/' + HelpFileName;
        QCOMPARE(helpFile(), expected);
        rig.open();
        QCOMPARE(helpFile(), expected);
    }

    // What the operator hears: nothing when a browser shows the page, the
    // reinstall box when there is no page, and where the page is when no
    // program takes it or the browser does not start.
    void bareNameUntilTheDialogOpens_data()
    {
        columns<bool, QString, QString>({"pageInStartFolder", "shell", "told"});
        const QString cannot = QStringLiteral("Help could not be opened (%1); the page is ");
        // clang-format off
        QTest::newRow("page where the program started") << true << "" << "";
        QTest::newRow("no page there") << false << ""
            << "Velmora: Help file cannot be found.  Try reinstalling the application";
        QTest::newRow("the shell cannot open it") << true << "refuses" << cannot.arg("no program opens web pages");
        QTest::newRow("no browser starts") << true << "browser fails" << cannot.arg("no web browser started");
        // clang-format on
    }

    void bareNameUntilTheDialogOpens()
    {
        const auto [pageInStartFolder, shellFails, told] =
            fetch<bool, QString, QString>({"pageInStartFolder", "shell", "told"});
        QTemporaryDir start;
        QVERIFY(QDir::setCurrent(start.path()));
        const QString page = QDir(start.path()).filePath(HelpFileName);
        if (pageInStartFolder)
            desktop::writeWholeFile(page, "<html></html>");
        desktop::ScriptedDialogs dialogs;
        desktop::ScriptedShell shell;
        QStringList heard = dialogs.lines();
        setHelpTeller([&heard](const QString &message) { heard.append(message); });
        if (shellFails == u"refuses")
            shell.shellOpenResult = desktop::Shell::ShellOpenFailed;
        showHelp();
        if (shellFails == u"browser fails")
            shell.webPageFailed(QStringLiteral("no web browser started"));
        setHelpTeller({});
        QCOMPARE(shell.opened, pageInStartFolder ? QStringList{page} : QStringList());
        heard += dialogs.lines();
        const QString expected = told.startsWith(u"Help could") ? told + QDir::toNativeSeparators(page) : told;
        QCOMPARE(heard, expected.isEmpty() ? QStringList() : QStringList{expected});
    }
};

QTEST_GUILESS_MAIN(TestHelp)
#include "tst_help.moc"
