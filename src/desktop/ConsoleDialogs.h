#pragma once

#include "desktop/Dialogs.h"

namespace desktop {

// For programs without a window: every box becomes one line
// "<title>: <text>" on standard error. Questions get the answer that changes
// nothing (No, Cancel, an empty input).
class ConsoleDialogs final : public Dialogs
{
public:
    Answer messageBox(const QString &title, const QString &text, Icon icon, Buttons buttons) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &proposed) override;
    void beep() override;
};

} // namespace desktop
