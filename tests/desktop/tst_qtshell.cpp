#include "desktop/AppFolder.h"
#include "desktop/qt/QtShell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace desktop;

// Stands in for the desktop's associated programs.
class Opener : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class TestQtShell : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    Opener m_opener;
    QtShell m_shell;

    // Runs `answer` on the file dialog once it shows.
    template <typename Answer> void whenDialogShows(Answer answer)
    {
        QTimer::singleShot(0, this, [answer] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            answer(*dialog);
        });
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_opener, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &m_opener, "open");
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    }

    void init() { m_opener.urls.clear(); }

    void showTextOpensTheDisplayFile()
    {
        QVERIFY(m_shell.ShowText(QStringLiteral("Invalid Router--Line 1\r\n")));
        const QString path = AppFolder() + QStringLiteral("display.txt");
        QCOMPARE(m_opener.urls, QList<QUrl>{QUrl::fromLocalFile(path)});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Invalid Router--Line 1\r\n\r\n"));
    }

    void shellOpenHandsTheAddressOn()
    {
        QVERIFY(m_shell.ShellOpen(QStringLiteral("mailto:ops@example.org")) > 32);
        QCOMPARE(m_opener.urls, QList<QUrl>{QUrl(QStringLiteral("mailto:ops@example.org"))});
    }

    void openDialogReturnsTheChosenFile()
    {
        const QString chosen = m_home.filePath(QStringLiteral("chosen.rcf"));
        QFile(chosen).open(QIODevice::WriteOnly);
        QString title;
        QStringList filters;
        whenDialogShows([&](QFileDialog &dialog) {
            title = dialog.windowTitle();
            filters = dialog.nameFilters();
            dialog.selectFile(chosen);
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        QCOMPARE(
            m_shell.OpenFileDialog(QStringLiteral("Configuration File"), QStringLiteral("*.rcf:*.rcf"), m_home.path()),
            chosen);
        QCOMPARE(title, QStringLiteral("Configuration File"));
        QCOMPARE(filters, QStringList{"*.rcf (*.rcf)"});
    }

    void cancelledDialogsReturnNothing()
    {
        whenDialogShows([](QFileDialog &dialog) { dialog.reject(); });
        QCOMPARE(m_shell.OpenFileDialog(QStringLiteral("T"), QString(), m_home.path()), QString());
        whenDialogShows([](QFileDialog &dialog) { dialog.reject(); });
        QCOMPARE(m_shell.SaveFileDialog(QStringLiteral("T"), QString(), QString(), QString()), QString());
    }

    // The save dialog shows the proposed name and replaces without asking.
    void saveDialogProposesTheName()
    {
        const QString proposed = m_home.filePath(QStringLiteral("existing.rcf"));
        QFile(proposed).open(QIODevice::WriteOnly);
        QStringList selected;
        bool confirms = true;
        whenDialogShows([&](QFileDialog &dialog) {
            selected = dialog.selectedFiles();
            confirms = !dialog.testOption(QFileDialog::DontConfirmOverwrite);
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        QCOMPARE(m_shell.SaveFileDialog(QStringLiteral("Configuration File"), QStringLiteral("*.rcf:*.rcf"), proposed,
                                        QString()),
                 proposed);
        QCOMPARE(selected, QStringList{proposed});
        QVERIFY(!confirms);
    }
};

QTEST_MAIN(TestQtShell)
#include "tst_qtshell.moc"
