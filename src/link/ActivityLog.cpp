#include "link/ActivityLog.h"

#include "desktop/TextTokens.h"
#include "link/StatusSink.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// One field of one line, whatever it was given: no separator, no line
// break, no byte that would make the log binary.
QString oneField(const QString &field)
{
    return desktop::withControlsBlanked(field).replace(u'\t', u' ');
}

constexpr qint64 MinuteMs = 60 * 1000;

} // namespace

ActivityLog::ActivityLog(const QString &folder, StatusSink &status, qint64 rollOverBytes, int limitedLinesPerMinute)
    : m_path(QDir(folder).filePath(QStringLiteral("activity.log"))), m_file(m_path), m_status(status),
      m_rollOverBytes(rollOverBytes), m_limitedLinesPerMinute(limitedLinesPerMinute)
{
    m_clock.start();
}

ActivityLog::~ActivityLog()
{
    closeMinutes(true);
}

void ActivityLog::append(const QString &source, const QString &event)
{
    closeMinutes(false);
    write(source, event);
}

void ActivityLog::appendLimited(const QString &source, const QString &event)
{
    closeMinutes(false);
    Minute &minute = m_minutes[source];
    if (minute.written == 0 && minute.heldBack == 0)
        minute.start = m_clock.elapsed();
    if (minute.written < m_limitedLinesPerMinute) {
        ++minute.written;
        write(source, event);
        return;
    }
    ++minute.heldBack;
    minute.last = event;
}

void ActivityLog::closeMinutes(bool all)
{
    const qint64 now = m_clock.elapsed();
    // Looked over once a second at most: a flood appends far more often.
    if (!all && now - m_lastLook < 1000)
        return;
    m_lastLook = now;
    for (auto minute = m_minutes.begin(); minute != m_minutes.end();) {
        if (!all && now - minute->start < MinuteMs) {
            ++minute;
            continue;
        }
        if (minute->heldBack > 0)
            write(minute.key(),
                  QStringLiteral("held-back lines=%1 last=%2").arg(QString::number(minute->heldBack), minute->last));
        minute = m_minutes.erase(minute);
    }
}

void ActivityLog::write(const QString &source, const QString &event)
{
    const QByteArray line = (timeStamp() + u'\t' + oneField(source) + u'\t' + oneField(event) + u'\n').toUtf8();
    if (!fileStillOurs())
        reopen();
    else if (m_file.size() + line.size() > m_rollOverBytes) {
        m_file.close();
        rollOver();
        reopen();
    }
    if (!m_file.isOpen()) {
        report(m_file.errorString());
        return;
    }
    if (m_file.write(line) != line.size() || !m_file.flush()) {
        report(m_file.errorString());
        m_file.close();
        return;
    }
    m_failureReported = false;
}

QString ActivityLog::timeStamp()
{
    // Local time is worked out once a second: a block of routes writes
    // many lines a second, and the conversion costs more than the write.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const qint64 second = now.toSecsSinceEpoch();
    if (second != m_stampSecond) {
        m_stampSecond = second;
        m_stampPrefix = now.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss."));
    }
    return m_stampPrefix + QStringLiteral("%1").arg(now.time().msec(), 3, 10, QLatin1Char('0'));
}

bool ActivityLog::fileStillOurs() const
{
    // Someone may have moved or removed the file (a rotation of their own):
    // then lines go to a new file at the path, not after the moved one.
    if (!m_file.isOpen())
        return false;
    const QFileInfo path(m_path);
    return path.isFile() && path.size() == m_file.size();
}

void ActivityLog::reopen()
{
    m_file.close();
    QDir().mkpath(QFileInfo(m_path).path());
    (void)m_file.open(QIODevice::WriteOnly | QIODevice::Append);
}

void ActivityLog::rollOver()
{
    const auto old = [this](int generation) { return m_path + u'.' + QString::number(generation); };
    QFile::remove(old(KeptOldFiles));
    for (int generation = KeptOldFiles - 1; generation >= 1; --generation)
        QFile::rename(old(generation), old(generation + 1));
    QFile::rename(m_path, old(1));
}

void ActivityLog::report(const QString &error)
{
    if (m_failureReported)
        return;
    m_failureReported = true;
    m_status.SetErrMsg(QStringLiteral("Activity log cannot be written: %1: %2").arg(m_path, error));
}
