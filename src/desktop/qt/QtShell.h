#pragma once

#include "desktop/Shell.h"

namespace desktop {

// The shell on Qt: QFileDialog modal to the active window, the desktop's
// associated programs through QDesktopServices, and the keyboard state read
// at the moment of the call.
class QtShell final : public Shell
{
public:
    QString OpenFileDialog(const QString &title, const QString &filterList, const QString &startFolder) override;
    QString SaveFileDialog(const QString &title, const QString &filterList, const QString &proposedName,
                           const QString &startFolder) override;
    // Writes "display.txt" in the per-user application folder and opens it
    // with the program associated with text files.
    bool ShowText(const QString &text) override;
    qint32 ShellOpen(const QString &target) override;
    // Through xdg-open where there is one, watched: it ends with a failure
    // when no browser could be started (none installed, none that runs as
    // root). Left running with the browser, it is not ended with the panel.
    bool openWebPage(const QString &path, std::function<void(const QString &why)> failed) override;
    bool CtrlKeyDown() override;
    bool ShiftKeyDown() override;
};

} // namespace desktop
