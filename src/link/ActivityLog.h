#pragma once

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
// .3, the oldest is dropped). A log that cannot be written is reported once
// to the status sink, again only after it worked in between, and never
// throws: a route never waits on or fails for its log.
class ActivityLog
{
public:
    static constexpr qint64 DefaultRollOverBytes = 1024 * 1024;
    static constexpr int KeptOldFiles = 3;

    ActivityLog(const QString &folder, StatusSink &status, qint64 rollOverBytes = DefaultRollOverBytes);

    void append(const QString &source, const QString &event);

    [[nodiscard]] QString filePath() const { return m_path; }

private:
    void rollOver();
    void report(const QString &error);

    QString m_path;
    StatusSink &m_status;
    qint64 m_rollOverBytes;
    bool m_failureReported = false;
};
