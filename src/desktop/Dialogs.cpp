#include "desktop/Dialogs.h"

namespace desktop {

void showMessage(const QString &title, const QString &text, Icon icon)
{
    (void)dialogs().messageBox(title, text, icon, Buttons::Ok);
}

} // namespace desktop
