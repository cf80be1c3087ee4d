#include "desktop/ConsoleDialogs.h"

#include "desktop/MessagePlace.h"

namespace desktop {

Answer ConsoleDialogs::messageBox(const QString &title, const QString &text, Icon, Buttons buttons)
{
    writeConsoleLine(title + QStringLiteral(": ") + text + MessagePlace::suffix(), m_stamp);
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
    writeConsoleLine(title + QStringLiteral(": ") + prompt, m_stamp);
    return {};
}

void ConsoleDialogs::beep() {}

} // namespace desktop
