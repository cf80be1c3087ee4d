#include "support/DataRows.h"
#include "support/ScriptedShell.h"
#include "ui/about/frmAbout.h"

#include <QLabel>
#include <QTest>

class TestFrmAbout : public QObject
{
    Q_OBJECT

private slots:
    // Links open through the shell; one that cannot be opened shows nothing
    // and leaves the box open. A click anywhere else but the title face closes it.
    void clicks_data()
    {
        columns<QString, QStringList, bool>({"target", "opened", "closes"});
        QTest::newRow("home page") << "lblHome" << QStringList{"www.velmora.example"} << false;
        QTest::newRow("mail") << "lblMail" << QStringList{"mailto:support@velmora.example"} << false;
        QTest::newRow("background") << "" << QStringList() << true;
        QTest::newRow("version") << "lblVersion" << QStringList() << true;
        QTest::newRow("title face") << "Label2" << QStringList() << false;
        QTest::newRow("OK") << "btnOK" << QStringList() << true;
    }

    void clicks()
    {
        const auto [target, closes] = fetch<QString, bool>({"target", "closes"});
        desktop::ScriptedShell shell;
        shell.shellOpenResult = desktop::Shell::ShellOpenFailed;
        frmAbout about;
        about.show();
        QWidget *clicked = target.isEmpty() ? &about : about.findChild<QWidget *>(target);
        QVERIFY(clicked);
        // The background between the version line and the contact lines.
        const QPoint where = target.isEmpty() ? QPoint(200, 60) : clicked->rect().center();
        QTest::mouseClick(clicked, Qt::LeftButton, {}, where);
        QTEST(shell.opened, "opened");
        QCOMPARE(about.isVisible(), !closes);
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
