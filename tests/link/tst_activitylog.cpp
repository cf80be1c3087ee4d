#include "link/ActivityEvents.h"
#include "link/ActivityLog.h"
#include "support/RecordingStatusSink.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList linesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class TestActivityLog : public QObject
{
    Q_OBJECT

private slots:
    // One line per event: local time to the millisecond, source, event, split
    // by tabs; nothing inside a field can start a new line or field.
    void lineFormat()
    {
        QTemporaryDir dir;
        RecordingStatusSink status;
        ActivityLog log(dir.path() + QStringLiteral("/new/folder"), status);
        RouteActivity route{5,
                            QStringLiteral("Monitor 1"),
                            3,
                            QStringLiteral("Camera 3"),
                            2,
                            4,
                            1,
                            QStringLiteral("both"),
                            QStringLiteral("ok")};
        log.append(QStringLiteral("videohub 192.0.2.7:51234"), ActivityEvents::route(route));
        route.frameAddress = route.routerOutput = route.routerInput = -1;
        route.result = QStringLiteral("Output 5 is not assigned to a router");
        log.append(QStringLiteral("panel macro 3 \"Show\tOpen\""), ActivityEvents::route(route));
        log.append(
            QStringLiteral("control"),
            ActivityEvents::label(QStringLiteral("input"), 3, QStringLiteral("Camera 3"), QStringLiteral("Cam\n3")));
        log.append(QStringLiteral("panel"),
                   ActivityEvents::lock(QStringLiteral("panel-unlock"), 5, QStringLiteral("Monitor 1"),
                                        QStringLiteral("192.0.2.7"), QStringLiteral("ok")));

        const QStringList lines = linesOf(log.filePath());
        QCOMPARE(lines.size(), 4);
        static const QRegularExpression time(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}$"));
        QStringList rest;
        for (const QString &line : lines) {
            const QStringList fields = line.split(u'\t');
            QCOMPARE(fields.size(), 3);
            QVERIFY2(time.match(fields[0]).hasMatch(), qPrintable(fields[0]));
            rest << fields[1] + u'|' + fields[2];
        }
        QCOMPARE(rest, (QStringList{
                           "videohub 192.0.2.7:51234|route output=5 \"Monitor 1\" input=3 \"Camera 3\" frame=2 "
                           "router-output=4 router-input=1 level=both result=ok",
                           "panel macro 3 \"Show Open\"|route output=5 \"Monitor 1\" input=3 \"Camera 3\" frame=- "
                           "router-output=- router-input=- level=both result=Output 5 is not assigned to a router",
                           "control|label input=3 old=\"Camera 3\" new=\"Cam 3\"",
                           "panel|lock output=5 \"Monitor 1\" action=panel-unlock owner=192.0.2.7 result=ok",
                       }));
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
            QVERIFY(QFile(path).size() <= limit);
            for (const QString &line : linesOf(path))
                all << line.section(u'\t', 2);
        }
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("activity.log.4"))));
        QCOMPARE(all.last(), QStringLiteral("event 40"));
        QVERIFY(all.size() < 40);
        for (qsizetype i = 1; i < all.size(); ++i) // consecutive: nothing lost between kept files
            QCOMPARE(all[i].section(u' ', 1).toInt(), all[i - 1].section(u' ', 1).toInt() + 1);
        QVERIFY(status.messages.isEmpty());
    }

    // A log that cannot be written says so once, and again only after it
    // worked in between.
    void writeFailureReportedOnce()
    {
        QTemporaryDir dir;
        RecordingStatusSink status;
        ActivityLog log(dir.path(), status);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("activity.log"))); // a folder where the file should be
        log.append(QStringLiteral("panel"), QStringLiteral("first"));
        log.append(QStringLiteral("panel"), QStringLiteral("second"));
        QCOMPARE(status.messages.size(), 1);
        QVERIFY2(status.messages[0].startsWith(QStringLiteral("Activity log cannot be written: ") + log.filePath()),
                 qPrintable(status.messages[0]));

        QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("activity.log")));
        log.append(QStringLiteral("panel"), QStringLiteral("third"));
        QCOMPARE(linesOf(log.filePath()).size(), 1);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("blocked")));
        QVERIFY(QFile::rename(log.filePath(), dir.filePath(QStringLiteral("blocked/moved"))));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("activity.log")));
        log.append(QStringLiteral("panel"), QStringLiteral("fourth"));
        QCOMPARE(status.messages.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestActivityLog)
#include "tst_activitylog.moc"
