#include "CommandRouter.h"

#include "Commands.h"
#include "StandardStreams.h"
#include "config/ComPort.h"
#include "desktop/AppFolder.h"
#include "desktop/Fault.h"

CommandRouter::CommandRouter(CommandSetup &setup)
    : m_link(setup.config, m_status, desktop::AppFolder()),
      m_routes(setup.config, setup.macros, setup.recorder, m_link, m_status)
{}

CommandRouter::~CommandRouter()
{
    m_link.CloseCommPort();
}

int CommandRouter::run(CommandSetup &setup, const QString &operation, qsizetype expected,
                       const std::function<void(CommandRouter &)> &routing)
{
    bool allAcknowledged = false;
    desktop::runTrapped(operation, [&] {
        CommandRouter router(setup);
        const int port = comPortNumber(setup.config.CommPortName);
        if (port == 0) {
            router.m_status.SetErrMsg(QStringLiteral("No COM port in the configuration"));
            return;
        }
        // No panel in between: the operator should know which device is written to.
        writeErrorLine(QStringLiteral("velmora-ctl: opening %1 directly: %2")
                           .arg(setup.config.CommPortName, SerialLink::portPath(port, desktop::AppFolder())));
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
