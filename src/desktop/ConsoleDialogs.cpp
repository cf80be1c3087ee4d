#include "desktop/ConsoleDialogs.h"

#include "desktop/MessagePlace.h"

#include <QLoggingCategory>

namespace desktop {
namespace {

Q_LOGGING_CATEGORY(boxLines, "velmora.desktop")

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

Answer ConsoleDialogs::messageBox(const QString &title, const QString &text, Icon, Buttons buttons)
{
    writeConsoleLine(boxLines(), title + QStringLiteral(": ") + text + MessagePlace::suffix(), m_stamp);
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
        return Answer::No;
    }
    return Answer::Cancel;
}

QString ConsoleDialogs::inputBox(const QString &prompt, const QString &title, const QString &)
{
    writeConsoleLine(boxLines(), title + QStringLiteral(": ") + prompt, m_stamp);
    return {};
}

void ConsoleDialogs::beep()
{}

} // namespace desktop
