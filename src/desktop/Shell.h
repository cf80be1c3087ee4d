#pragma once

#include <QString>
#include <functional>

namespace desktop {

// The shell and the common dialogs: file dialogs, the text display, opening
// a document or address with its associated program, and the key state.
// Installed like Dialogs, so tests answer from a script and the command-line
// tools never block.
class Shell
{
public:
    // ShellOpen's result: above 32 when the target was handed to a program.
    static constexpr qint32 ShellOpenSucceeded = 33;
    static constexpr qint32 ShellOpenFailed = 0;

    virtual ~Shell() = default;

    // `filterList` pairs descriptions and patterns, every element separated
    // by ":" ("Configuration:*.rcf:Text:*.txt"); "" means all files. The first
    // type is selected. Both return the chosen full path, "" when cancelled.
    // The open dialog needs an existing folder and file and absorbs its own
    // failures; the save dialog needs an existing folder, replaces without
    // asking, and throws desktop::Fault when it cannot be shown.
    virtual QString OpenFileDialog(const QString &title, const QString &filterList, const QString &startFolder) = 0;
    virtual QString SaveFileDialog(const QString &title, const QString &filterList, const QString &proposedName,
                                   const QString &startFolder) = 0;
    // Shows the text in a window of its own without waiting for the
    // operator; true once shown. Throws desktop::Fault when it cannot.
    virtual bool ShowText(const QString &text) = 0;
    // Opens a file, a web address or a "mailto:" address with its program.
    virtual qint32 ShellOpen(const QString &target) = 0;
    // Opens a web page with the browser; false when no program took it.
    // When the program it was handed to fails afterwards (the browser did
    // not start), `failed` hears why, once, from the event loop.
    virtual bool openWebPage(const QString &path, std::function<void(const QString &why)> failed) = 0;
    // Whether the key is held down at the moment of the call.
    [[nodiscard]] virtual bool CtrlKeyDown() = 0;
    [[nodiscard]] virtual bool ShiftKeyDown() = 0;
};

// The implementation in use; the console one until one is installed. Both
// live beside the console one (ConsoleShell.cpp), which names this
// interface and is not named by it.
[[nodiscard]] Shell &shell();
// Installs an implementation the caller keeps alive; nullptr restores the console one.
void setShell(Shell *implementation);

} // namespace desktop
