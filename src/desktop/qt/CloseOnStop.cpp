#include "desktop/qt/CloseOnStop.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QWidget>

namespace desktop {

namespace {

// A window that holds the program in a loop of its own until an operator answers.
bool waitsForOperator(const QWidget &widget)
{
    return widget.isWindow() && (widget.isModal() || widget.windowType() == Qt::Popup);
}

void dismiss(QWidget &widget)
{
    if (!widget.isVisible())
        return;
    if (auto *dialog = qobject_cast<QDialog *>(&widget))
        dialog->reject();
    else
        widget.close();
}

} // namespace

CloseOnStop::CloseOnStop(QWidget &window, QObject *parent) : QObject(parent), m_window(window)
{}

void CloseOnStop::stop()
{
    if (m_stopping)
        return;
    m_stopping = true;
    qApp->installEventFilter(this);
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (waitsForOperator(*widget))
            dismiss(*widget);
    }
    // Posted, so it runs in the loop below the dismissed dialogs, once each
    // exec() has returned and its caller has finished.
    QMetaObject::invokeMethod(
        this, [this] { m_window.close(); }, Qt::QueuedConnection);
}

bool CloseOnStop::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        // Dismissed from inside its own loop: exec() is still starting it now.
        if (waitsForOperator(*widget))
            QMetaObject::invokeMethod(
                widget, [widget] { dismiss(*widget); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace desktop
