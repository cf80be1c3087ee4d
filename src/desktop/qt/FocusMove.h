#pragma once

#include <QFocusEvent>

namespace desktop {

// Whether a focus event is a move between the controls of one window (by
// mouse, Tab or code), the only kind that leaves a field. Switching windows
// (a message box, another program), a popup or context menu and the menu
// bar taking the keyboard hand the focus back to the same field later.
[[nodiscard]] inline bool isFocusMove(const QEvent *event)
{
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return false;
    switch (static_cast<const QFocusEvent *>(event)->reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
        return false;
    default:
        return true;
    }
}

} // namespace desktop
