#include "desktop/WholeFile.h"
#include "support/DataRows.h"
#include "support/PanelRig.h"

#include <QTest>

// The default file at start-up and the exit save over it: a file that did
// not load whole is kept as it was, as "default.rcf.bak", and the status
// line says so; and the lines a load from the menu did not read.
class TestStartUpLoad : public QObject
{
    Q_OBJECT

private slots:
    // The default file at start (none when empty) beside an older copy; the
    // status messages ("BAK" for the copy's full path), the copy after the
    // exit, and a part of what the exit saved (what the start-up kept).
    void keepsADefaultNotReadWhole_data()
    {
        columns<QByteArray, QByteArray, QString, QByteArray, QByteArray>(
            {"before", "olderBackup", "messages", "backup", "saved"});
        const QByteArray header("VL ConfigFile 1.2\r\n");
        const QByteArray garbage("Camera; Studio 1\r\n");
        const QString kept = QStringLiteral(" not read (the file as it was is kept as default.rcf.bak)");
        // clang-format off
        QTest::newRow("no default file") << QByteArray() << QByteArray() << "" << QByteArray() << header;
        QTest::newRow("loadable default") << header << QByteArray("older") << "" << QByteArray("older") << header;
        QTest::newRow("wrong header, older copy replaced") << garbage << QByteArray("older")
            << "Kept the set-up file as it was in BAK: it did not load" << garbage << header;
        const QByteArray trailingBlank = header + "Begin Macros \r\n  Macro 01: Show; {0, 1} = {2, 1}; \r\nEnd Macros\r\n";
        QTest::newRow("begin line with a trailing blank") << trailingBlank << QByteArray("older")
            << "default.rcf: lines 2-4" + kept << trailingBlank << QByteArray("Begin Macros\r\nEnd Macros\r\n");
        const QByteArray stray = header + "Begin Macros\r\n  Macro 00: b; \r\n  Macro 01: a; \r\nstray\r\nEnd Macros\r\n";
        QTest::newRow("stray line in the section") << stray << QByteArray()
            << "default.rcf: line 5" + kept << stray << QByteArray("  Macro 00: b; \r\n  Macro 01: a; \r\nEnd");
        const QByteArray crInMacro = header + "Begin Macros\r\n  Macro 01: Show\rOpen; {0, 1} = {2, 1}; \r\nEnd Macros\r\n";
        QTest::newRow("stray CR in a macro line") << crInMacro << QByteArray()
            << "default.rcf: line 3" + kept << crInMacro << QByteArray("Begin Macros\r\n  Macro 01: Show; \r\nEnd");
        const QByteArray crInRouter = header + "Router: 0; 0; 1; 1; 0; 0; 0;In 1; In\r 2; Out 1; Out 2; \r\n";
        QTest::newRow("stray CR in a router line") << crInRouter << QByteArray()
            << "default.rcf: line 2" + kept << crInRouter << QByteArray("\r\nRouter: 0; 0; 1; 1; 0; 0; 0;In 1; In; ; ; \r\n");
        // clang-format on
    }

    void keepsADefaultNotReadWhole()
    {
        const auto [before, olderBackup, messages, backup, saved] =
            fetch<QByteArray, QByteArray, QString, QByteArray, QByteArray>(
                {"before", "olderBackup", "messages", "backup", "saved"});
        PanelRig rig;
        const QString backupFile = rig.defaultFile() + QStringLiteral(".bak");
        if (!before.isEmpty())
            desktop::writeWholeFile(rig.defaultFile(), before);
        if (!olderBackup.isEmpty())
            desktop::writeWholeFile(backupFile, olderBackup);
        MainPanel &panel = rig.build();
        QStringList shown;
        connect(&panel.statusLine(), &StatusLine::messageShown, this, [&](const QString &msg) { shown << msg; });
        panel.Form_Load({});
        panel.Form_Unload();

        QCOMPARE(shown.join(u'|').replace(QDir::toNativeSeparators(backupFile), QStringLiteral("BAK")), messages);
        QCOMPARE(PanelRig::readAll(backupFile), backup);
        QVERIFY2(PanelRig::readAll(rig.defaultFile()).contains(saved), saved.constData());
    }

    // A file loaded from the menu is named with the lines it did not read;
    // only the default file, which the exit overwrites, is copied.
    void menuLoadNamesTheLinesNotRead()
    {
        PanelRig rig;
        const QString file = rig.appFolder() + QStringLiteral("show.rcf");
        desktop::writeWholeFile(file, "VL ConfigFile 1.2\r\nComment: x\r\n");
        rig.shell.openAnswers.enqueue(file);
        MainPanel &panel = rig.build();
        panel.loadConfiguration(false);
        QCOMPARE(panel.statusLine().lastMessage(), QStringLiteral("show.rcf: line 2 not read"));
        QVERIFY(!QFile::exists(file + QStringLiteral(".bak")));
    }
};

QTEST_GUILESS_MAIN(TestStartUpLoad)
#include "tst_startupload.moc"
