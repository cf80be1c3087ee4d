#include "Render.h"
#include "support/ScriptedShell.h"
#include "ui/about/frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestFrmAbout : public QObject
{
    Q_OBJECT

private slots:
    void linksOpenThroughTheShell_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("target");
        QTest::newRow("home page") << "lblHome" << "www.velmora.example";
        QTest::newRow("mail") << "lblMail" << "mailto:support@velmora.example";
    }

    void linksOpenThroughTheShell()
    {
        QFETCH(QString, link);
        QFETCH(QString, target);
        desktop::ScriptedShell shell;
        // A link that cannot be opened shows nothing and leaves the box open.
        shell.shellOpenResult = desktop::Shell::ShellOpenFailed;
        frmAbout about;
        about.show();
        QTest::mouseClick(about.findChild<QLabel *>(link), Qt::LeftButton);
        QCOMPARE(shell.opened, QStringList{target});
        QVERIFY(about.isVisible());
    }

    void clicksElsewhereClose_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("closes");
        QTest::newRow("background") << "" << true;
        QTest::newRow("version") << "lblVersion" << true;
        QTest::newRow("title face") << "Label2" << false;
    }

    void clicksElsewhereClose()
    {
        QFETCH(QString, target);
        QFETCH(bool, closes);
        desktop::ScriptedShell shell;
        frmAbout about;
        about.show();
        QWidget *clicked = target.isEmpty() ? &about : about.findChild<QWidget *>(target);
        QVERIFY(clicked);
        // The background between the version line and the contact lines.
        const QPoint where = target.isEmpty() ? QPoint(200, 60) : clicked->rect().center();
        QTest::mouseClick(clicked, Qt::LeftButton, {}, where);
        QCOMPARE(about.isVisible(), !closes);
        QVERIFY(shell.opened.isEmpty());
    }

    void rendersAndEnterOnOKCloses()
    {
        frmAbout about;
        about.show();
        QVERIFY(renderToFile(about, QStringLiteral("frmAbout")));
        QTest::keyClick(about.findChild<QPushButton *>("btnOK"), Qt::Key_Return);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
