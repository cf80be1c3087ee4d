#include "CommandLoad.h"

#include "config/ConfigFile.h"
#include "desktop/Dialogs.h"
#include "desktop/Shell.h"

bool loadForCommand(const QString &fileName, CommandSetup &setup)
{
    setup = CommandSetup();
    // The console implementations: nothing waits for an operator.
    desktop::setDialogs(nullptr);
    desktop::setShell(nullptr);
    QString name = fileName;
    setup.report = ConfigLoad(setup.config, setup.macros, name, false);
    return setup.config.ConfigLoaded;
}
