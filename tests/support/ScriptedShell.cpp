#include "support/ScriptedShell.h"

#include "desktop/Fault.h"

namespace desktop {

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
    return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
}

QString ScriptedShell::SaveFileDialog(const QString &, const QString &, const QString &proposedName, const QString &)
{
    saveProposedNames.append(proposedName);
    return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
}

bool ScriptedShell::ShowText(const QString &text)
{
    if (!failShowText.isEmpty())
        throw Fault(failShowText);
    shownTexts.append(text);
    return true;
}

} // namespace desktop
