#include "ControlActor.h"

#include "remote/control/ControlSocketName.h"

namespace {

constexpr int MostWaiting = 8;
constexpr int Outputs = 127;

} // namespace

ControlActor::ControlActor(int macros, SoakRandom &random, SoakCounts &counts)
    : m_macros(macros), m_random(random), m_counts(counts)
{
    QObject::connect(&m_socket, &QLocalSocket::readyRead, [this] { readAnswers(); });
}

void ControlActor::readAnswers()
{
    while (m_socket.canReadLine()) {
        const QByteArray line = m_socket.readLine();
        --m_waiting;
        if (line.startsWith("error") && !line.contains("Router returned") && !line.contains("No reply") &&
            !line.contains("is locked"))
            m_counts.operation(QStringLiteral("control answer ") + QString::fromUtf8(line.trimmed()));
    }
}

void ControlActor::send(const QString &command, const QString &kind)
{
    if (m_socket.state() != QLocalSocket::ConnectedState) {
        m_socket.abort();
        m_socket.connectToServer(controlSocketName());
        if (!m_socket.waitForConnected(5000))
            return;
        m_waiting = 0;
    }
    m_socket.write(command.toUtf8() + '\n');
    ++m_waiting;
    m_counts.operation(QStringLiteral("control ") + kind);
}

void ControlActor::act()
{
    if (m_waiting >= MostWaiting)
        return;
    const int roll = m_random.below(100);
    if (roll < 55) {
        send(QStringLiteral("route 0 %1 %2 %3")
                 .arg(m_random.below(Outputs))
                 .arg(m_random.below(Outputs))
                 .arg(1 + m_random.below(3)),
             QStringLiteral("route"));
    } else if (roll < 75) {
        send(QStringLiteral("macro %1").arg(m_random.below(m_macros)), QStringLiteral("macro"));
    } else if (roll < 90) {
        send(QStringLiteral("state 0 %1").arg(m_random.below(Outputs)), QStringLiteral("state"));
    } else if (roll < 95) {
        if (m_socket.state() != QLocalSocket::ConnectedState)
            return;
        m_socket.write("route 0 1");
        (void)m_socket.waitForBytesWritten(5000);
        m_socket.abort();
        m_waiting = 0;
        m_counts.fault(QStringLiteral("control leaves mid-line"));
    } else {
        m_socket.abort();
        m_waiting = 0;
        m_counts.fault(QStringLiteral("reconnect"));
    }
}

bool ControlActor::settled() const
{
    return m_waiting <= 0 || m_socket.state() != QLocalSocket::ConnectedState;
}

void ControlActor::rest()
{
    m_socket.abort();
    m_waiting = 0;
}
