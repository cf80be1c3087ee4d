#include "ui/main/ShowFileMenu.h"

#include "desktop/Dialogs.h"
#include "desktop/Fault.h"
#include "desktop/Shell.h"
#include "panel/MainPanel.h"
#include "panel/ShowFiles.h"
#include "ui/main/frmRecallSnapshot.h"

#include <QMenu>
#include <QShortcut>

namespace {

const QString NameLists = QStringLiteral("Name lists:*.csv");

} // namespace

ShowFileMenu::ShowFileMenu(MainPanel &panel, QWidget &window) : QObject(&window), m_panel(panel), m_window(window)
{
    // Escape is taken only while a recall (the window's or a client's) runs.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    escape->setObjectName(QStringLiteral("keyStopRecall"));
    escape->setEnabled(false);
    connect(escape, &QShortcut::activated, this, [this] { (void)m_panel.shows().stopRecall(); });
    connect(&panel.shows(), &ShowFiles::recallProgressed, escape, [escape] { escape->setEnabled(true); });
    connect(&panel.shows(), &ShowFiles::recallEnded, escape, [escape] { escape->setEnabled(false); });
}

void ShowFileMenu::addTo(QMenu &file)
{
    const auto item = [&](const char *name, const QString &caption, void (ShowFileMenu::*slot)()) {
        file.addAction(caption, this, slot)->setObjectName(QLatin1String(name));
    };
    item("mnuSaveSnapshot", QStringLiteral("Save S&napshot..."), &ShowFileMenu::saveSnapshot);
    item("mnuRecallSnapshot", QStringLiteral("&Recall Snapshot..."), &ShowFileMenu::recallSnapshot);
    file.addSeparator();
    item("mnuImportNames", QStringLiteral("&Import Names..."), &ShowFileMenu::importNames);
    item("mnuExportNames", QStringLiteral("E&xport Names..."), &ShowFileMenu::exportNames);
    file.addSeparator();
}

void ShowFileMenu::tell(const QString &title, bool ok, const QString &text)
{
    if (ok)
        m_panel.setNote(text);
    else
        desktop::showMessage(title, text, desktop::Icon::Warning);
}

void ShowFileMenu::saveSnapshot()
{
    const QString title = QStringLiteral("Save Snapshot");
    const QString name = desktop::dialogs().inputBox(QStringLiteral("Snapshot name:"), title, {}).trimmed();
    if (name.isEmpty())
        return;
    ShowFiles &shows = m_panel.shows();
    const bool replace = shows.exists(name);
    if (replace &&
        desktop::dialogs().messageBox(title, QStringLiteral("Replace snapshot \"%1\"?").arg(name),
                                      desktop::Icon::Question, desktop::Buttons::YesNo) != desktop::Answer::Yes)
        return;
    const ShowAnswer answer = shows.saveSnapshot(name, replace);
    tell(title, answer.ok,
         answer.ok ? QStringLiteral("Saved snapshot \"%1\": %2").arg(name, answer.text) : answer.text);
}

void ShowFileMenu::recallSnapshot()
{
    ShowFiles &shows = m_panel.shows();
    if (shows.recalling()) {
        desktop::dialogs().beep();
        return;
    }
    frmRecallSnapshot dialog(shows, &m_window);
    if (desktop::dialogs().runDialog(dialog) != desktop::Answer::Ok || dialog.chosenName().isEmpty())
        return;
    const ShowAnswer begun = shows.beginRecall(dialog.chosenName(), dialog.allRoutes());
    if (!begun.ok)
        tell(QStringLiteral("Recall Snapshot"), false, begun.text);
    else
        shows.runRecall();
}

void ShowFileMenu::importNames()
{
    const QString file =
        desktop::shell().OpenFileDialog(QStringLiteral("Import Names"), NameLists, m_panel.dataFolder());
    if (file.isEmpty())
        return;
    const ShowAnswer answer = m_panel.shows().importNames(file);
    tell(QStringLiteral("Import Names"), answer.ok, answer.ok ? answer.text : answer.lines.join(u'\n'));
}

void ShowFileMenu::exportNames()
{
    desktop::runTrapped(QStringLiteral("mnuExportNames_Click"), [this] {
        const QString file = desktop::shell().SaveFileDialog(QStringLiteral("Export Names"), NameLists,
                                                             m_panel.dataFolder() + QStringLiteral("names.csv"), {});
        if (file.isEmpty())
            return;
        const ShowAnswer answer = m_panel.shows().exportNames(file);
        tell(QStringLiteral("Export Names"), answer.ok,
             answer.ok ? QStringLiteral("Exported %1 to %2").arg(answer.text, file) : answer.text);
    });
}
