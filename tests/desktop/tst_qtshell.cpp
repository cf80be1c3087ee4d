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
        // The file dialogs keep their settings in the user's config folder.
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
        QVERIFY(m_shell.ShellOpen(QStringLiteral("mailto:ops@example.org")) > 32);
        QCOMPARE(m_opened, (QList<QUrl>{QUrl::fromLocalFile(AppFolder() + QStringLiteral("display.txt")),
                                        QUrl(QStringLiteral("mailto:ops@example.org"))}));
    }

    // Both dialogs answer the chosen path, "" when cancelled; the save dialog
    // shows the proposed name and replaces without asking.
    void fileDialogs_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("accept");
        QTest::newRow("open, chosen") << false << true;
        QTest::newRow("open, cancelled") << false << false;
        QTest::newRow("save, chosen") << true << true;
        QTest::newRow("save, cancelled") << true << false;
    }

    void fileDialogs()
    {
        QFETCH(bool, save);
        QFETCH(bool, accept);
        // The open dialog needs an existing file. The save dialog's is new, so
        // one that would ask before replacing fails here instead of waiting.
        const QString file = m_home.filePath(save ? QStringLiteral("new.rcf") : QStringLiteral("existing.rcf"));
        QVERIFY(save || QFile(file).open(QIODevice::WriteOnly));
        QStringList selected;
        bool confirms = true;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            selected = dialog->selectedFiles();
            confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            dialog->selectFile(file);
            if (accept)
                QMetaObject::invokeMethod(dialog, "accept");
            else
                dialog->reject();
        });
        const QString caption = QStringLiteral("Configuration File");
        const QString types = QStringLiteral("*.rcf:*.rcf");
        QCOMPARE(save ? m_shell.SaveFileDialog(caption, types, file, QString())
                      : m_shell.OpenFileDialog(caption, types, m_home.path()),
                 accept ? file : QString());
        if (save) {
            QCOMPARE(selected, QStringList{file});
            QVERIFY(!confirms);
        }
    }
};

QTEST_MAIN(TestQtShell)
#include "tst_qtshell.moc"
