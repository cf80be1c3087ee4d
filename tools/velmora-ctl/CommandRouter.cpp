#include "CommandRouter.h"

#include "Commands.h"
#include "app/GlobalState.h"
#include "desktop/AppFolder.h"
#include "desktop/Fault.h"

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

int CommandRouter::run(const QString &operation, qsizetype expected,
                       const std::function<void(CommandRouter &)> &routing)
{
    bool allAcknowledged = false;
    desktop::runTrapped(operation, [&] {
        CommandRouter router;
        if (SerialLink::portNumber(Globals().CommPortName) == 0) {
            router.m_status.SetErrMsg(QStringLiteral("No COM port in the configuration"));
            return;
        }
        routing(router);
        allAcknowledged = router.m_acknowledged == expected;
    });
    return allAcknowledged ? ExitOk : ExitFailed;
}

void CommandRouter::Route(clsRouter &Router, int phyOut, int phyIn, int Level)
{
    // No view column: nothing to redraw.
    if (m_routes.TakeRoute(&Router, phyOut, phyIn, -1, Level).acknowledged)
        ++m_acknowledged;
}
