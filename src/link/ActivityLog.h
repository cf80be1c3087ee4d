#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QString>

class StatusSink;

// Appends one line per event to activity.log in a folder, so an operator can
// find out afterwards who routed, renamed or locked what. Line format, one
// event a line, fields separated by a tab (`cut -f2`, `awk -F'\t'`):
//
//   2026-12-07 08:15:02.123<TAB>videohub 192.0.2.7:51234<TAB>route output=5 "Monitor 1" ... result=ok
//
// local time with milliseconds; the source (`panel`, `panel macro 02 "Show
// Open"`, `control`, `videohub ADDRESS:PORT`); the event as ActivityEvents
// words it, names quoted so that none can forge a field. Tabs, line breaks
// and other control characters inside a field become spaces.
//
// At RollOverBytes the file becomes activity.log.1 (.1 becomes .2, .2 becomes
// .3, the oldest is dropped). So that one source cannot flood the routes out
// of the kept files, the lines it can make as fast as it sends (locks,
// labels, refused routes: appendLimited) are written up to a number a minute
// per source; beyond, they are counted, and one line at the end of that
// minute says how many were held back and what the last one was:
//
//   ...<TAB>videohub 192.0.2.7:51234<TAB>held-back lines=8123 last=lock output=5 "Monitor 1" ...
// A log that cannot be written is reported once
// to the status sink, again only after it worked in between, and never
// throws: a route never waits on or fails for its log.
class ActivityLog
{
public:
    static constexpr qint64 DefaultRollOverBytes = 1024 * 1024;
    static constexpr int KeptOldFiles = 3;
    // A label block renaming every output of the largest matrix, a few times a minute.
    static constexpr int DefaultLimitedLinesPerMinute = 600;

    ActivityLog(const QString &folder, StatusSink &status, qint64 rollOverBytes = DefaultRollOverBytes,
                int limitedLinesPerMinute = DefaultLimitedLinesPerMinute);
    // Writes the lines still held back.
    ~ActivityLog();
    ActivityLog(const ActivityLog &) = delete;
    ActivityLog &operator=(const ActivityLog &) = delete;

    // A line always written: a route that went to a router, paced by the line.
    void append(const QString &source, const QString &event);
    // A line within the source's lines a minute (see above).
    void appendLimited(const QString &source, const QString &event);

    [[nodiscard]] QString filePath() const { return m_path; }

private:
    // The limited lines of one source in the minute from `start`.
    struct Minute
    {
        qint64 start = 0;
        int written = 0;
        int heldBack = 0;
        QString last;
    };

    void write(const QString &source, const QString &event);
    [[nodiscard]] QString timeStamp();
    [[nodiscard]] bool fileStillOurs() const;
    void reopen();
    // Says what the minutes that have ended held back, and forgets them.
    void closeMinutes(bool all);
    void rollOver();
    void report(const QString &error);

    QString m_path;
    // Kept open between lines: opening it for each costs more than the line.
    QFile m_file;
    StatusSink &m_status;
    qint64 m_rollOverBytes;
    int m_limitedLinesPerMinute;
    QElapsedTimer m_clock;
    qint64 m_lastLook = 0;
    QHash<QString, Minute> m_minutes;
    qint64 m_stampSecond = -1;
    QString m_stampPrefix;
    bool m_failureReported = false;
};
