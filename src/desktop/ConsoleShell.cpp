#include "desktop/ConsoleShell.h"

#include <cstdio>

namespace desktop {

namespace {
ConsoleShell consoleShell;
Shell *installed = nullptr;
} // namespace

Shell &shell()
{
    return installed ? *installed : consoleShell;
}

void setShell(Shell *implementation)
{
    installed = implementation;
}

QString ConsoleShell::OpenFileDialog(const QString &, const QString &, const QString &)
{
    return {};
}

QString ConsoleShell::SaveFileDialog(const QString &, const QString &, const QString &, const QString &)
{
    return {};
}

bool ConsoleShell::ShowText(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fflush(stderr);
    return true;
}

qint32 ConsoleShell::ShellOpen(const QString &)
{
    return ShellOpenFailed;
}

bool ConsoleShell::openWebPage(const QString &, std::function<void(const QString &)>)
{
    return false;
}

bool ConsoleShell::CtrlKeyDown()
{
    return false;
}

bool ConsoleShell::ShiftKeyDown()
{
    return false;
}

} // namespace desktop
