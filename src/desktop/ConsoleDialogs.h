#pragma once

#include "desktop/ConsoleLine.h"
#include "desktop/Dialogs.h"

namespace desktop {

// For programs without a window: every box becomes one line
// "<title>: <text>" on standard error. Questions get the answer that changes
// nothing (No, Cancel, an empty input). The panel run as a service stamps
// each line with the time.
class ConsoleDialogs final : public Dialogs
{
public:
    explicit ConsoleDialogs(LineStamp stamp = LineStamp::None) : m_stamp(stamp) {}

    Answer messageBox(const QString &title, const QString &text, Icon icon, Buttons buttons) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &proposed) override;
    void beep() override;
    // Nothing to point at without a window: no choice.
    int popupMenu(const QStringList &, QPoint) override { return -1; }
    Answer runDialog(QObject &) override { return Answer::Cancel; }

private:
    LineStamp m_stamp;
};

} // namespace desktop
