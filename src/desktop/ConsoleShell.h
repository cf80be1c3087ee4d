#pragma once

#include "desktop/Shell.h"

namespace desktop {

// For programs without a window: nothing ever waits for an operator. The file
// dialogs answer "" (cancelled), the text display writes the text as is to
// standard error, nothing can be opened and no key is held down.
class ConsoleShell final : public Shell
{
public:
    QString OpenFileDialog(const QString &title, const QString &filterList, const QString &startFolder) override;
    QString SaveFileDialog(const QString &title, const QString &filterList, const QString &proposedName,
                           const QString &startFolder) override;
    bool ShowText(const QString &text) override;
    qint32 ShellOpen(const QString &target) override;
    bool openWebPage(const QString &path, std::function<void(const QString &why)> failed) override;
    bool CtrlKeyDown() override;
    bool ShiftKeyDown() override;
};

} // namespace desktop
