#include "desktop/Dialogs.h"

#include "desktop/ConsoleDialogs.h"

namespace desktop {

namespace {
ConsoleDialogs consoleDialogs;
Dialogs *installed = nullptr;
} // namespace

Dialogs &dialogs()
{
    return installed ? *installed : consoleDialogs;
}

void setDialogs(Dialogs *implementation)
{
    installed = implementation;
}

void showMessage(const QString &title, const QString &text, Icon icon)
{
    (void)dialogs().messageBox(title, text, icon, Buttons::Ok);
}

} // namespace desktop
