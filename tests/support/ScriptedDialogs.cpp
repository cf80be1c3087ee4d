#include "support/ScriptedDialogs.h"

namespace desktop {

ScriptedDialogs::ScriptedDialogs() : m_previous(&dialogs())
{
    setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    setDialogs(m_previous);
}

Answer ScriptedDialogs::messageBox(const QString &title, const QString &text, Icon, Buttons buttons)
{
    shown.append({title, text, buttons});
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

QString ScriptedDialogs::inputBox(const QString &, const QString &, const QString &proposedText)
{
    proposed.append(proposedText);
    return inputs.isEmpty() ? QString() : inputs.dequeue();
}

int ScriptedDialogs::popupMenu(const QStringList &items, QPoint)
{
    menus.append(items);
    return menuChoices.isEmpty() ? -1 : menuChoices.dequeue();
}

QStringList ScriptedDialogs::lines() const
{
    QStringList result;
    for (const Shown &box : shown)
        result.append(box.title + QStringLiteral(": ") + box.text);
    return result;
}

void ScriptedDialogs::clear()
{
    shown.clear();
    proposed.clear();
    menus.clear();
    beeps = 0;
}

} // namespace desktop
