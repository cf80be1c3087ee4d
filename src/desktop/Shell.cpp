#include "desktop/Shell.h"

#include "desktop/ConsoleShell.h"

namespace desktop {

namespace {
ConsoleShell consoleShell;
Shell *installed = nullptr;
} // namespace

Shell &shell()
{
    return installed ? *installed : consoleShell;
}

void setShell(Shell *implementation)
{
    installed = implementation;
}

} // namespace desktop
