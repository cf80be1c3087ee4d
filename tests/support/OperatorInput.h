#pragma once

#include <QApplication>
#include <QContextMenuEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

// The control of that object name in a window; a missing one ends the test run.
template <typename Control = QWidget> Control *control(const QWidget &window, const QString &name)
{
    auto *found = window.findChild<Control *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// The window shown and active, so that its controls take the keyboard focus.
[[nodiscard]] inline bool showActive(QWidget &window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// Moves a scroll bar towards its end as an operator does: a click on its
// arrow (one step) or one notch of the wheel over it (three steps).
inline void scrollOneWay(QScrollBar *bar, bool wheel)
{
    if (wheel) {
        const QPointF centre = bar->rect().center();
        QWheelEvent notch(centre, bar->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &notch);
    } else {
        const QPoint arrow = bar->orientation() == Qt::Vertical ? QPoint(bar->width() / 2, bar->height() - 3)
                                                                : QPoint(bar->width() - 3, bar->height() / 2);
        QTest::mouseClick(bar, Qt::LeftButton, {}, arrow);
    }
}

// A right-click on a control, as the context menu event it brings.
inline void rightClick(QWidget *widget)
{
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(4, 4), widget->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(widget, &menu);
}
