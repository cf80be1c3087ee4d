#include "link/ActivityEvents.h"
#include "link/ActivityLog.h"
#include "support/ConfigTestSupport.h"
#include "support/RecordingStatusSink.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestActivityLog : public QObject
{
    Q_OBJECT

private slots:
    // One line per event: local time to the millisecond, source, event, split
    // by tabs; nothing inside a field can start a new line or field or turn
    // the text around, no byte makes the file binary, and a name cannot
    // forge fields: its quotes, backslashes and tabs are escaped. (A route
    // made and a lock changed, in full: the Videohub server's test.)
    void lineFormat()
    {
        QTemporaryDir dir;
        RecordingStatusSink status;
        ActivityLog log(dir.path() + QStringLiteral("/new/folder"), status);
        const RouteActivity unassigned{
            5, "Monitor 1", 3, "Camera 3", -1, -1, -1, "both", "Output 5 is not assigned to a router"};
        log.append(QStringLiteral("panel macro 3 \"Show\tOpen\""), ActivityEvents::route(unassigned));
        log.append(QStringLiteral("control"), ActivityEvents::label("input", 3, "Camera 3", "Cam\n3"));
        const RouteActivity forging{1, "Mon\\", 1, "Cam\" input=99 \"Fake\" frame=9", 0, 0, 0, "both", "ok"};
        log.append(QStringLiteral("videohub"), ActivityEvents::route(forging));
        log.append(QString::fromUtf16(u"con\0trol\x1b\u202e", 10),
                   ActivityEvents::label("output", 1, "a\tb", "c\rd\x7f\u2028"));

        static const QRegularExpression time("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}\t",
                                             QRegularExpression::MultilineOption);
        QCOMPARE(QString::fromUtf8(readTestFile(log.filePath())).replace(time, "TIME|").replace(u'\t', u'|'),
                 "TIME|panel macro 3 \"Show Open\"|route output=5 \"Monitor 1\" input=3 \"Camera 3\" frame=- "
                 "router-output=- router-input=- level=both result=Output 5 is not assigned to a router\n"
                 "TIME|control|label input=3 old=\"Camera 3\" new=\"Cam 3\"\n"
                 "TIME|videohub|route output=1 \"Mon\\\\\" input=1 \"Cam\\\" input=99 \\\"Fake\\\" frame=9\" frame=0 "
                 "router-output=0 router-input=0 level=both result=ok\n"
                 "TIME|con trol  |label output=1 old=\"a\\tb\" new=\"c d  \"\n");
        QVERIFY(status.messages.isEmpty());
    }

    // Past the limit the file moves to .1 and the older ones along; three old
    // files are kept, none is larger than the limit, no line is split.
    void rollsOverKeepingThree()
    {
        QTemporaryDir dir;
        RecordingStatusSink status;
        const qint64 limit = 200;
        ActivityLog log(dir.path(), status, limit);
        for (int i = 1; i <= 40; ++i)
            log.append(QStringLiteral("control"), QStringLiteral("event %1").arg(i, 2, 10, QChar(u'0')));

        QStringList all;
        for (const char *name : {"activity.log.3", "activity.log.2", "activity.log.1", "activity.log"}) {
            const QString path = dir.filePath(QString::fromLatin1(name));
            QVERIFY2(QFile::exists(path), name);
            QCOMPARE_LE(QFile(path).size(), limit);
            for (const QString &line : QString::fromUtf8(readTestFile(path)).split(u'\n', Qt::SkipEmptyParts))
                all << line.section(u'\t', 2);
        }
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("activity.log.4"))));
        QCOMPARE(all.last(), QStringLiteral("event 40"));
        QCOMPARE_LT(all.size(), 40);
        for (qsizetype i = 1; i < all.size(); ++i) // consecutive: nothing lost between kept files
            QCOMPARE(all[i].section(u' ', 1).toInt(), all[i - 1].section(u' ', 1).toInt() + 1);
        QVERIFY(status.messages.isEmpty());
    }

    // Lines a source makes as fast as it sends (locks, labels, refusals) are
    // written up to the number a minute; the rest are counted in one line, so
    // a flood cannot push the routes out of the kept files. Routes that went
    // to a router are always written.
    void aFloodIsHeldBack()
    {
        QTemporaryDir dir;
        RecordingStatusSink status;
        const QString path = dir.filePath(QStringLiteral("activity.log"));
        {
            ActivityLog log(dir.path(), status, ActivityLog::DefaultRollOverBytes, 3);
            for (int i = 1; i <= 10; ++i)
                log.appendLimited(QStringLiteral("videohub A"), QStringLiteral("lock %1").arg(i));
            log.appendLimited(QStringLiteral("control"), QStringLiteral("label 1"));
            log.append(QStringLiteral("videohub A"), QStringLiteral("route ok"));
        }
        QStringList events;
        for (const QString &line : QString::fromUtf8(readTestFile(path)).split(u'\n', Qt::SkipEmptyParts))
            events << line.section(u'\t', 1).replace(u'\t', u'|');
        QCOMPARE(events, (QStringList{"videohub A|lock 1", "videohub A|lock 2", "videohub A|lock 3", "control|label 1",
                                      "videohub A|route ok", "videohub A|held-back lines=7 last=lock 10"}));
    }

    // A log that cannot be written says so once, and again only after it
    // worked in between.
    void writeFailureReportedOnce()
    {
        QTemporaryDir dir;
        QDir folder(dir.path());
        RecordingStatusSink status;
        ActivityLog log(dir.path(), status);
        QVERIFY(folder.mkdir(QStringLiteral("activity.log"))); // a folder where the file should be
        log.append(QStringLiteral("panel"), QStringLiteral("first"));
        log.append(QStringLiteral("panel"), QStringLiteral("second"));
        QCOMPARE(status.messages.size(), 1);
        QVERIFY2(status.messages[0].startsWith("Activity log cannot be written: " + log.filePath()),
                 qPrintable(status.messages[0]));

        QVERIFY(folder.rmdir(QStringLiteral("activity.log")));
        log.append(QStringLiteral("panel"), QStringLiteral("third"));
        QCOMPARE(readTestFile(log.filePath()).count('\n'), 1);
        QVERIFY(QFile::remove(log.filePath()) && folder.mkdir(QStringLiteral("activity.log")));
        log.append(QStringLiteral("panel"), QStringLiteral("fourth"));
        QCOMPARE(status.messages.size(), 2);
    }

    // The file is kept open between lines; one moved away (a rotation of the
    // operator's own) gets no more of them: they start a new file at the path.
    void movedFileLeftAlone()
    {
        QTemporaryDir dir;
        RecordingStatusSink status;
        ActivityLog log(dir.path(), status);
        log.append(QStringLiteral("panel"), QStringLiteral("before"));
        QVERIFY(QFile::rename(log.filePath(), log.filePath() + QStringLiteral(".moved")));
        log.append(QStringLiteral("panel"), QStringLiteral("after"));
        QVERIFY(readTestFile(log.filePath() + QStringLiteral(".moved")).endsWith("\tbefore\n"));
        QVERIFY(readTestFile(log.filePath()).endsWith("\tafter\n"));
        QCOMPARE(readTestFile(log.filePath()).count('\n'), 1);
        QVERIFY(status.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestActivityLog)
#include "tst_activitylog.moc"
