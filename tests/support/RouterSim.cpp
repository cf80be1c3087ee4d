#include "support/RouterSim.h"

#include <QDeadlineTimer>
#include <QTest>

namespace {

// Bounds every wait, so a hung simulator fails the test instead of blocking it.
constexpr int WaitMs = 10000;

} // namespace

RouterSim::RouterSim(QObject *parent) : QObject(parent)
{
    m_process.setProgram(QStringLiteral(VELMORA_ROUTERSIM));
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &RouterSim::readLog);
}

RouterSim::~RouterSim()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(WaitMs))
            kill();
    }
}

bool RouterSim::start(const QString &linkPath, const QStringList &args)
{
    m_process.setArguments(QStringList{QStringLiteral("--link"), linkPath} + args);
    m_process.start();
    // Waiting for output waits for the start too; a failed start ends the wait.
    const QDeadlineTimer deadline(WaitMs);
    while (!m_ready && !deadline.hasExpired() && m_process.state() != QProcess::NotRunning)
        m_process.waitForReadyRead(int(deadline.remainingTime()));
    return m_ready;
}

void RouterSim::kill()
{
    m_process.kill();
    m_process.waitForFinished(WaitMs);
}

QStringList RouterSim::wire() const
{
    QStringList result;
    for (const QString &frame : m_frames)
        result.append(frame.left(8 * 3 - 1));
    return result;
}

bool RouterSim::waitForFrames(int count)
{
    return QTest::qWaitFor([&] { return m_frames.size() >= count; }, WaitMs);
}

void RouterSim::readLog()
{
    m_pending += m_process.readAllStandardOutput();
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(m_pending.left(end));
        m_pending.remove(0, end + 1);
        if (line.startsWith(QLatin1String("ready "))) {
            m_ready = true;
            continue;
        }
        // "SECONDS.MMM BE EF ..." : the time is dropped.
        const QString frame = line.section(QLatin1Char(' '), 1);
        if (m_keeping)
            m_frames.append(frame);
        emit frameLogged(frame);
    }
}
