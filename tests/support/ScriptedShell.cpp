#include "support/ScriptedShell.h"

#include "desktop/Fault.h"

namespace desktop {

namespace {

QString nextAnswer(QQueue<QString> &answers)
{
    return answers.isEmpty() ? QString() : answers.dequeue();
}

} // namespace

ScriptedShell::ScriptedShell() : m_previous(&shell())
{
    setShell(this);
}

ScriptedShell::~ScriptedShell()
{
    setShell(m_previous);
}

QString ScriptedShell::OpenFileDialog(const QString &, const QString &, const QString &startFolder)
{
    openStartFolders.append(startFolder);
    return nextAnswer(openAnswers);
}

QString ScriptedShell::SaveFileDialog(const QString &, const QString &, const QString &proposedName, const QString &)
{
    saveProposedNames.append(proposedName);
    return nextAnswer(saveAnswers);
}

bool ScriptedShell::ShowText(const QString &text)
{
    if (!failShowText.isEmpty())
        throw Fault(failShowText);
    shownTexts.append(text);
    return true;
}

qint32 ScriptedShell::ShellOpen(const QString &target)
{
    opened.append(target);
    return shellOpenResult;
}

bool ScriptedShell::CtrlKeyDown()
{
    return ctrlDown;
}

bool ScriptedShell::ShiftKeyDown()
{
    return shiftDown;
}

} // namespace desktop
