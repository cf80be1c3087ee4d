#include "desktop/ConsoleDialogs.h"

#include <cstdio>

namespace desktop {

Answer ConsoleDialogs::messageBox(const QString &title, const QString &text, Icon, Buttons buttons)
{
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(text));
    std::fflush(stderr);
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
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(prompt));
    std::fflush(stderr);
    return {};
}

void ConsoleDialogs::beep() {}

} // namespace desktop
