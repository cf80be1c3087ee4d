#include "CommandLoad.h"

#include "app/GlobalState.h"
#include "config/ConfigFile.h"
#include "desktop/Dialogs.h"
#include "desktop/Shell.h"

bool loadForCommand(const QString &fileName)
{
    ResetGlobals();
    // The console implementations: nothing waits for an operator.
    desktop::setDialogs(nullptr);
    desktop::setShell(nullptr);
    QString name = fileName;
    ConfigLoad(Globals(), Globals(), name, false);
    return Globals().ConfigLoaded;
}
