#include "CommandLoad.h"
#include "Commands.h"
#include "StandardStreams.h"
#include "Usage.h"
#include "app/GlobalState.h"
#include "config/ConfigText.h"

int runCheck(const QStringList &arguments)
{
    if (arguments.size() != 1 || arguments.constFirst().isEmpty())
        return refuseUsage(QStringLiteral("check"));
    if (!loadForCommand(arguments.constFirst()))
        return ExitFailed;
    writeStandardOutput(ConfigText(Globals(), Globals()));
    return ExitOk;
}
