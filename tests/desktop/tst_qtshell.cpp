#include "desktop/AppFolder.h"
#include "desktop/WholeFile.h"
#include "desktop/qt/QtShell.h"

#include <QDesktopServices>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace desktop;

class TestQtShell : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QtShell m_shell;
    QList<QUrl> m_opened;

public slots:
    // Stands in for the desktop's associated programs.
    void open(const QUrl &url) { m_opened.append(url); }

private slots:
    void initTestCase()
    {
        // The display file goes to the application folder under this home.
        for (const char *variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            qputenv(variable, m_home.path().toUtf8());
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "open");
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    }

    // The rejected-line list opens as the display file; an address is handed on as it is.
    void showTextAndShellOpenHandTheTargetOn()
    {
        QVERIFY(m_shell.ShowText(QStringLiteral("Invalid Router--Line 1\r\n")));
        QCOMPARE_GT(m_shell.ShellOpen(QStringLiteral("mailto:ops@example.org")), 32);
        QCOMPARE(m_opened, (QList<QUrl>{QUrl::fromLocalFile(AppFolder() + QStringLiteral("display.txt")),
                                        QUrl(QStringLiteral("mailto:ops@example.org"))}));
    }

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // A page handed to xdg-open that then starts no browser (none installed,
    // none that runs as root) is said to have failed.
    void aWebPageNoBrowserShowsIsTold()
    {
        QTemporaryDir bin;
        const QString opener = bin.filePath(QStringLiteral("xdg-open"));
        writeWholeFile(opener, "#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/asked\"\nexit 3\n");
        QVERIFY(QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8() + ':' + path);
        QStringList failures;
        const bool handedOver = m_shell.openWebPage(QStringLiteral("/usr/share/velmora/Velmora.html"),
                                                    [&failures](const QString &why) { failures.append(why); });
        qputenv("PATH", path);
        QVERIFY(handedOver);
        QTRY_COMPARE(failures, QStringList{QStringLiteral("no web browser started")});
        QFile asked(bin.filePath(QStringLiteral("asked")));
        QVERIFY(asked.open(QIODevice::ReadOnly));
        QCOMPARE(asked.readAll(), QByteArray("file:///usr/share/velmora/Velmora.html\n"));
    }
#endif
};

QTEST_MAIN(TestQtShell)
#include "tst_qtshell.moc"
