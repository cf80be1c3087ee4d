#pragma once

#include <QtGlobal>

class StatusSink;

// The bound on the work all clients of the control port may have queued
// together, so that no number of clients, connected or gone, grows the panel
// past a few megabytes. The status line says once when a limit turned
// commands away, again only after the port has worked off everything queued.
class ControlBudget
{
public:
    explicit ControlBudget(StatusSink &status) : m_status(status) {}

    // Books bytes of queued work; false, booking nothing, when they do not fit.
    [[nodiscard]] bool take(qint64 bytes);
    void giveBack(qint64 bytes);
    // A limit turned a command or a client away.
    void turnedAway();

private:
    StatusSink &m_status;
    qint64 m_booked = 0;
    bool m_told = false;
};
