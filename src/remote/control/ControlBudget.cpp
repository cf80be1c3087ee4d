#include "remote/control/ControlBudget.h"

#include "link/StatusSink.h"
#include "remote/ServerLimits.h"

bool ControlBudget::take(qint64 bytes)
{
    if (m_booked + bytes > serverlimits::ControlQueuedBytes) {
        turnedAway();
        return false;
    }
    m_booked += bytes;
    return true;
}

void ControlBudget::giveBack(qint64 bytes)
{
    m_booked -= bytes;
    if (m_booked == 0)
        m_told = false;
}

void ControlBudget::turnedAway()
{
    if (!m_told)
        m_status.SetErrMsg(QStringLiteral("Control port busy: commands turned away"));
    m_told = true;
}
