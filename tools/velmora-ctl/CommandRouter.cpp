#include "CommandRouter.h"

#include "app/GlobalState.h"
#include "desktop/AppFolder.h"

CommandRouter::CommandRouter()
    : m_link(Globals(), m_status, desktop::AppFolder()), m_routes(Globals(), Globals(), Globals(), m_link, m_status)
{
    Globals().CommRef = &m_link;
}

CommandRouter::~CommandRouter()
{
    m_link.CloseCommPort();
    Globals().CommRef = nullptr;
}

bool CommandRouter::hasPort()
{
    if (SerialLink::portNumber(Globals().CommPortName) != 0)
        return true;
    m_status.SetErrMsg(QStringLiteral("No COM port in the configuration"));
    return false;
}

void CommandRouter::Route(clsRouter &Router, int phyOut, int phyIn, int Level)
{
    // No view column: nothing to redraw.
    if (m_routes.TakeRoute(&Router, phyOut, phyIn, -1, Level).acknowledged)
        ++m_acknowledged;
}
