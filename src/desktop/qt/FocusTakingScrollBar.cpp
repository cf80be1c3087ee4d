#include "desktop/qt/FocusTakingScrollBar.h"

namespace desktop {

FocusTakingScrollBar::FocusTakingScrollBar(QWidget *parent) : QScrollBar(parent)
{
    // A click focuses it before the press reaches it; the wheel is below.
    setFocusPolicy(Qt::ClickFocus);
}

void FocusTakingScrollBar::wheelEvent(QWheelEvent *event)
{
    // Qt focuses on the wheel only what Tab reaches too.
    setFocus(Qt::MouseFocusReason);
    QScrollBar::wheelEvent(event);
}

} // namespace desktop
