#include "CommandLoad.h"
#include "Commands.h"
#include "StandardStreams.h"
#include "Usage.h"
#include "config/ConfigText.h"

int runCheck(const QStringList &arguments)
{
    if (arguments.size() != 1 || arguments.constFirst().isEmpty())
        return refuseUsage(QStringLiteral("check"));
    CommandSetup setup;
    if (!loadForCommand(arguments.constFirst(), setup))
        return ExitFailed;
    writeStandardOutput(ConfigText(setup.config, setup.macros));
    return ExitOk;
}
