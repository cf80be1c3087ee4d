#include "app/Help.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"
#include "ConfigRig.h"

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
        QTest::addColumn<bool>("pageInStartFolder");
        QTest::newRow("page where the program started") << true;
        QTest::newRow("no page there") << false;
    }

    void bareNameUntilTheDialogOpens()
    {
        QFETCH(bool, pageInStartFolder);
        QTemporaryDir start;
        QVERIFY(QDir::setCurrent(start.path()));
        if (pageInStartFolder)
            QVERIFY(writePage(start.path()));
        desktop::ScriptedDialogs dialogs;
        desktop::ScriptedShell shell;
        ShowHelp();
        QCOMPARE(shell.opened, pageInStartFolder ? QStringList{QDir(start.path()).filePath(HelpFileName)}
                                                 : QStringList());
        QCOMPARE(dialogs.lines(), pageInStartFolder ? QStringList() : QStringList{CannotOpen});
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

    void shellFailureIsReported()
    {
        QTemporaryDir folder;
        QVERIFY(writePage(folder.path()));
        setHelpFile(folder.path() + u'/' + HelpFileName);
        desktop::ScriptedDialogs dialogs;
        desktop::ScriptedShell shell;
        shell.shellOpenResult = desktop::Shell::ShellOpenFailed;
        ShowHelp();
        QCOMPARE(shell.opened, QStringList{HelpFile()});
        QCOMPARE(dialogs.lines(), QStringList{CannotOpen});
    }
};

QTEST_GUILESS_MAIN(TestHelp)
#include "tst_help.moc"
