#include "panel/ShowFiles.h"
#include "support/WindowRig.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

// The File menu's show-file items and the recall dialog, each wired event
// checked once; the rules behind them are the panel's show files' suite.
class TestShowFileMenu : public QObject
{
    Q_OBJECT

private slots:
    void itemsAndRecallDialog()
    {
        WindowRig rig;
        rig.useRouter(7, 7, true);
        QVERIFY(rig.startSim());
        rig.open();
        QStringList items;
        for (const QAction *action : rig.control<QMenu>(QStringLiteral("mnuFile"))->actions())
            items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(items.join(u'|'), QStringLiteral("&Load Configuration...|&Save Configuration...|"
                                                  "Setup &Current Configuration...|-|Load &Macros...|-|"
                                                  "Save S&napshot...|&Recall Snapshot...|-|&Import Names...|"
                                                  "E&xport Names...|-|&Exit"));
        const auto trigger = [&](const char *item) {
            rig.window->findChild<QAction *>(QLatin1String(item))->trigger();
        };

        // Saved under the name typed; the same name again only when the operator agrees.
        rig.dialogs.inputs.enqueue(QStringLiteral("Show <b>1</b>"));
        trigger("mnuSaveSnapshot");
        QCOMPARE(rig.dialogs.lines(), QStringList{QStringLiteral("Save Snapshot: ") + ShowFiles::NameRule});
        (void)rig.panel->takes().takeMatrix(1, 3, 3);
        rig.dialogs.inputs.enqueue(QStringLiteral("Show 1"));
        trigger("mnuSaveSnapshot");
        QCOMPARE(rig.panel->statusLine().text(), QStringLiteral("Saved snapshot \"Show 1\": 8 outputs"));
        (void)rig.panel->takes().takeMatrix(1, 4, 3);
        rig.dialogs.clear();
        rig.dialogs.inputs.enqueue(QStringLiteral("Show 1"));
        rig.dialogs.answers.enqueue(desktop::Answer::No);
        trigger("mnuSaveSnapshot");
        QCOMPARE(rig.dialogs.lines(), QStringList{QStringLiteral("Save Snapshot: Replace snapshot \"Show 1\"?")});

        // The dialog lists it, tells what would change, and OK recalls it on the event loop.
        QString shown;
        rig.dialogs.dialogScript = [&](QObject &dialog) {
            const auto *list = dialog.findChild<QListWidget *>(QStringLiteral("lstSnapshots"));
            const auto *changes = dialog.findChild<QLabel *>(QStringLiteral("lblChanges"));
            shown = list->item(0)->text().section(u' ', 0, 1) + u'|' + changes->text() + u'|' +
                    dialog.findChild<QLabel *>(QStringLiteral("lblLocked"))->text() +
                    (changes->textFormat() == Qt::PlainText ? QString() : QStringLiteral("|rich"));
            return desktop::Answer::Ok;
        };
        trigger("mnuRecallSnapshot");
        QCOMPARE(shown, QStringLiteral("Show 1|1 routes would change|No output it routes is locked."));
        QTRY_COMPARE(rig.panel->statusLine().text(),
                     QStringLiteral("Recalled \"Show 1\": 1 routes taken, 0 outputs locked, 0 failed"));

        // Names out and in again through the file dialogs: nothing changes.
        const QString list = rig.appFolder() + QStringLiteral("names.csv");
        rig.shell.saveAnswers.enqueue(list);
        trigger("mnuExportNames");
        rig.shell.openAnswers.enqueue(list);
        trigger("mnuImportNames");
        QCOMPARE(rig.panel->statusLine().text(), QStringLiteral("0 names changed"));
    }
};

QTEST_MAIN(TestShowFileMenu)
#include "tst_showfilemenu.moc"
