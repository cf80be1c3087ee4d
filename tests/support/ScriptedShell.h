#pragma once

#include "desktop/Fault.h"
#include "desktop/Shell.h"

#include <QQueue>
#include <QStringList>

namespace desktop {

// Test double: records every call and answers from queues. An empty queue
// answers "" (cancelled). Installs itself for its lifetime.
class ScriptedShell final : public Shell
{
public:
    ScriptedShell() : m_previous(&shell()) { setShell(this); }
    ~ScriptedShell() override { setShell(m_previous); }
    ScriptedShell(const ScriptedShell &) = delete;
    ScriptedShell &operator=(const ScriptedShell &) = delete;

    QString OpenFileDialog(const QString &, const QString &, const QString &startFolder) override
    {
        openStartFolders.append(startFolder);
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QString SaveFileDialog(const QString &, const QString &, const QString &proposedName, const QString &) override
    {
        saveProposedNames.append(proposedName);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }
    bool ShowText(const QString &text) override
    {
        if (!failShowText.isEmpty())
            throw Fault(failShowText);
        shownTexts.append(text);
        return true;
    }
    qint32 ShellOpen(const QString &target) override
    {
        opened.append(target);
        return shellOpenResult;
    }
    // Hands the page over as shellOpenResult says; the test calls
    // webPageFailed to stand for a browser that did not start.
    bool openWebPage(const QString &path, std::function<void(const QString &why)> failed) override
    {
        opened.append(path);
        webPageFailed = std::move(failed);
        return shellOpenResult >= ShellOpenSucceeded;
    }
    bool CtrlKeyDown() override { return ctrlDown; }
    bool ShiftKeyDown() override { return shiftDown; }

    QQueue<QString> openAnswers;
    QQueue<QString> saveAnswers;
    // ShowText throws the fault "failShowText" when it is not empty.
    QString failShowText;
    qint32 shellOpenResult = ShellOpenSucceeded;
    bool ctrlDown = false;
    bool shiftDown = false;

    QStringList openStartFolders;  // one per open dialog shown
    QStringList saveProposedNames; // one per save dialog shown
    QStringList shownTexts;
    QStringList opened;
    std::function<void(const QString &why)> webPageFailed;

private:
    Shell *m_previous;
};

} // namespace desktop
