#pragma once

#include "desktop/Dialogs.h"

#include <QList>
#include <QQueue>
#include <functional>

namespace desktop {

// Test double: records every box and answers from queues. An empty queue
// gives the first button's answer (OK or Yes), an empty input and a menu
// closed without a choice.
// Installs itself for its lifetime.
class ScriptedDialogs final : public Dialogs
{
public:
    struct Shown
    {
        QString title;
        QString text;
        Buttons buttons = Buttons::Ok;
    };

    ScriptedDialogs() : m_previous(&dialogs()) { setDialogs(this); }
    ~ScriptedDialogs() override { setDialogs(m_previous); }
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    Answer messageBox(const QString &title, const QString &text, Icon, Buttons buttons) override
    {
        shown.append({title, text, buttons});
        if (!answers.isEmpty())
            return answers.dequeue();
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    QString inputBox(const QString &, const QString &, const QString &proposedText) override
    {
        proposed.append(proposedText);
        return inputs.isEmpty() ? QString() : inputs.dequeue();
    }
    void beep() override { ++beeps; }
    // Records the items; the next queued choice, or none (-1) when the queue is empty.
    int popupMenu(const QStringList &items, QPoint) override
    {
        menus.append(items);
        return menuChoices.isEmpty() ? -1 : menuChoices.dequeue();
    }

    // A window's own dialog: the script plays the operator on it; Cancel without one.
    Answer runDialog(QObject &dialog) override { return dialogScript ? dialogScript(dialog) : Answer::Cancel; }

    QQueue<Answer> answers;
    std::function<Answer(QObject &dialog)> dialogScript;
    QQueue<QString> inputs;
    QQueue<int> menuChoices;

    QList<Shown> shown;       // message boxes, in order
    QStringList proposed;     // the proposed text of each input box, in order
    QList<QStringList> menus; // the items of each pop-up menu, in order
    int beeps = 0;

    // "title: text" of every message box, the form most tests compare.
    [[nodiscard]] QStringList lines() const
    {
        QStringList result;
        for (const Shown &box : shown)
            result.append(box.title + QStringLiteral(": ") + box.text);
        return result;
    }
    void clear()
    {
        shown.clear();
        proposed.clear();
        menus.clear();
        beeps = 0;
    }

private:
    Dialogs *m_previous;
};

} // namespace desktop
