#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

namespace desktop {

enum class Icon { None, Information, Warning, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

// Modal questions and notices. Everything that would block on the operator
// goes through here, so tests answer from a script and the command-line
// tools print instead of asking.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual Answer messageBox(const QString &title, const QString &text, Icon icon, Buttons buttons) = 0;
    // The typed answer; "" when the operator cancels.
    virtual QString inputBox(const QString &prompt, const QString &title, const QString &proposed) = 0;
    virtual void beep() = 0;
    // A pop-up menu of these items at a point of the screen; the index of
    // the item chosen, -1 when the operator closes it without a choice.
    virtual int popupMenu(const QStringList &items, QPoint globalPosition) = 0;
};

// The implementation in use. Until one is installed, notices go to standard
// error and questions take their cautious answer (see ConsoleDialogs, whose
// file keeps these two so that this interface does not name it back).
[[nodiscard]] Dialogs &dialogs();
// Installs an implementation the caller keeps alive; nullptr restores the console one.
void setDialogs(Dialogs *implementation);

// Shorthand for the common OK-only box.
void showMessage(const QString &title, const QString &text, Icon icon = Icon::None);

} // namespace desktop
