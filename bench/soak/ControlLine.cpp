#include "ControlLine.h"

#include "remote/control/ControlSocketName.h"

#include <QTest>

QStringList ControlLine::ask(const QString &command, int waitMs)
{
    if (m_socket.state() != QLocalSocket::ConnectedState) {
        m_socket.abort();
        m_socket.connectToServer(controlSocketName());
        if (!m_socket.waitForConnected(waitMs))
            return {};
    }
    m_socket.write(command.toUtf8() + '\n');
    const bool listed = command == u"names" || command == u"status";
    QStringList lines;
    const bool complete = QTest::qWaitFor(
        [&] {
            while (m_socket.canReadLine()) {
                lines << QString::fromUtf8(m_socket.readLine()).chopped(1);
                if (!listed || lines.last() == u"end")
                    return true;
            }
            return m_socket.state() != QLocalSocket::ConnectedState;
        },
        waitMs);
    if (!complete || (listed && (lines.isEmpty() || lines.last() != u"end")))
        return {};
    if (listed)
        lines.removeLast();
    return lines;
}
