#include "ConfigRig.h"
#include "DataRows.h"
#include "desktop/Help.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString CannotOpen =
    QStringLiteral("Velmora: Help file cannot be found.  Try reinstalling the application");

bool writePage(const QString &folder)
{
    QFile page(folder + u'/' + HelpFileName);
    return page.open(QIODevice::WriteOnly) && page.write("<html></html>") > 0;
}

} // namespace

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
        QCOMPARE(HelpFolder(bin), prefix.path() + QStringLiteral("/share/velmora"));
        // Beside the program (the build tree), that folder wins.
        QVERIFY(writePage(bin));
        QCOMPARE(HelpFolder(bin), bin);
        // The build copies the page beside the programs.
        QCOMPARE(HelpFolder(QStringLiteral(VELMORA_BIN_DIR)), QStringLiteral(VELMORA_BIN_DIR));
    }

    void bareNameUntilTheDialogOpens_data()
    {
        columns<bool, bool>({"pageInStartFolder", "shellFails"});
        QTest::newRow("page where the program started") << true << false;
        QTest::newRow("no page there") << false << false;
        QTest::newRow("the shell cannot open it") << true << true;
    }

    void bareNameUntilTheDialogOpens()
    {
        const auto [pageInStartFolder, shellFails] = fetch<bool, bool>({"pageInStartFolder", "shellFails"});
        QTemporaryDir start;
        QVERIFY(QDir::setCurrent(start.path()));
        if (pageInStartFolder)
            QVERIFY(writePage(start.path()));
        desktop::ScriptedDialogs dialogs;
        desktop::ScriptedShell shell;
        if (shellFails)
            shell.shellOpenResult = desktop::Shell::ShellOpenFailed;
        ShowHelp();
        QCOMPARE(shell.opened, pageInStartFolder ? QStringList{QDir(start.path()).filePath(HelpFileName)}
                                                 : QStringList());
        QCOMPARE(dialogs.lines(), pageInStartFolder && !shellFails ? QStringList() : QStringList{CannotOpen});
    }

    void programFolderOnceTheDialogOpened()
    {
        ConfigRig rig;
        rig.open();
        const QString expected = HelpFolder(QCoreApplication::applicationDirPath()) + u'/' + HelpFileName;
        QCOMPARE(HelpFile(), expected);
        // A second opening leaves a completed path alone.
        rig.open();
        QCOMPARE(HelpFile(), expected);
    }
};

QTEST_GUILESS_MAIN(TestHelp)
#include "tst_help.moc"
