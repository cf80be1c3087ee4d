#pragma once

#include <QLocalSocket>
#include <QStringList>

// The driver's own line to the control port: one command, its whole answer
// (to `end` for `names` and `status`), waited for within a bound.
class ControlLine
{
public:
    // Connects anew when the panel restarted; empty on time-out.
    [[nodiscard]] QStringList ask(const QString &command, int waitMs = 120000);

private:
    QLocalSocket m_socket;
};
