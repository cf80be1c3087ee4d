#include "CommandLoad.h"
#include "CommandRouter.h"
#include "Commands.h"
#include "PanelConnection.h"
#include "Usage.h"
#include "link/RouteArguments.h"
#include "model/clsRouter.h"

int runRoute(const QStringList &given)
{
    QStringList arguments = given;
    const std::optional<PanelOptions> options = takePanelOptions(arguments, true);
    // FILE, then the crosspoint.
    const std::optional<RouteArguments> route = RouteArguments::parse(arguments.mid(1));
    if (!options || !route || arguments.constFirst().isEmpty())
        return refuseUsage(QStringLiteral("route"));
    if (!options->direct) {
        const std::optional<QString> answer = askPanel(QStringLiteral("route %1 %2 %3 %4")
                                                           .arg(route->FrameAddress)
                                                           .arg(route->phyOut)
                                                           .arg(route->phyIn)
                                                           .arg(route->Level),
                                                       *options);
        if (answer)
            return panelVerdict(*answer);
    }
    CommandSetup setup;
    if (!loadForCommand(arguments.constFirst(), setup))
        return ExitFailed;

    return CommandRouter::run(setup, QStringLiteral("route"), 1, [&](CommandRouter &router) {
        if (clsRouter *target = router.routes().routerAt(route->FrameAddress))
            router.Route(*target, route->phyOut, route->phyIn, route->Level);
    });
}
