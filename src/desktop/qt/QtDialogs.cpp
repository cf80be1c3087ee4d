#include "desktop/qt/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

namespace desktop {

namespace {

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::None:
        return QMessageBox::NoIcon;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return QMessageBox::Ok;
    case Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

} // namespace

Answer QtDialogs::messageBox(const QString &title, const QString &text, Icon icon, Buttons buttons)
{
    QMessageBox box(toQt(icon), title, text, toQt(buttons), QApplication::activeWindow());
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString QtDialogs::inputBox(const QString &prompt, const QString &title, const QString &proposed)
{
    bool accepted = false;
    const QString answer =
        QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal, proposed, &accepted);
    return accepted ? answer : QString();
}

int QtDialogs::popupMenu(const QStringList &items, QPoint globalPosition)
{
    QMenu menu(QApplication::activeWindow());
    for (const QString &item : items)
        menu.addAction(item);
    const QAction *chosen = menu.exec(globalPosition);
    return chosen ? int(menu.actions().indexOf(chosen)) : -1;
}

Answer QtDialogs::runDialog(QObject &dialog)
{
    auto *window = qobject_cast<QDialog *>(&dialog);
    return window && window->exec() == QDialog::Accepted ? Answer::Ok : Answer::Cancel;
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace desktop
