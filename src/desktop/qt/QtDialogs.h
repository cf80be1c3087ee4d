#pragma once

#include "desktop/Dialogs.h"

namespace desktop {

// Message and input boxes on Qt widgets, modal to the active window, and
// pop-up menus.
class QtDialogs final : public Dialogs
{
public:
    Answer messageBox(const QString &title, const QString &text, Icon icon, Buttons buttons) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &proposed) override;
    void beep() override;
    int popupMenu(const QStringList &items, QPoint globalPosition) override;
    Answer runDialog(QObject &dialog) override;
};

} // namespace desktop
