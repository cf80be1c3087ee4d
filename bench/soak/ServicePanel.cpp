#include "ServicePanel.h"

#include "ControlLine.h"

#include <QFile>

long residentKiBOf(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (pid <= 0 || !status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

ServicePanel::ServicePanel(QString program, const SoakPorts &ports, QString errorFile)
    : m_program(std::move(program)), m_ports(ports), m_errorFile(std::move(errorFile))
{
    m_process.setStandardErrorFile(m_errorFile, QIODevice::Append);
    m_process.setStandardOutputFile(QProcess::nullDevice());
}

ServicePanel::~ServicePanel()
{
    if (m_process.state() != QProcess::NotRunning)
        (void)stop();
}

QString ServicePanel::start()
{
    m_process.start(m_program, QStringList{QStringLiteral("--no-window")} + panelArguments(m_ports));
    if (!m_process.waitForStarted(30000))
        return m_process.errorString();
    ControlLine control;
    for (int attempt = 0; attempt < 600; ++attempt) {
        if (!control.ask(QStringLiteral("status"), 1000).isEmpty())
            return {};
        if (m_process.state() == QProcess::NotRunning)
            return ended();
        (void)m_process.waitForFinished(100);
    }
    return QStringLiteral("the control port did not answer within a minute");
}

QString ServicePanel::stop()
{
    m_process.terminate();
    if (!m_process.waitForFinished(120000)) {
        m_process.kill();
        (void)m_process.waitForFinished(10000);
        return QStringLiteral("still running two minutes after TERM");
    }
    return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0 ? QString() : ended();
}

QString ServicePanel::ended() const
{
    if (m_process.state() != QProcess::NotRunning)
        return {};
    return m_process.exitStatus() == QProcess::CrashExit
               ? QStringLiteral("crashed (see %1)").arg(m_errorFile)
               : QStringLiteral("ended with status %1 (see %2)").arg(m_process.exitCode()).arg(m_errorFile);
}
