#include "panel/MacroButtons.h"

#include "base/PanelLimits.h"
#include "desktop/AppFolder.h"
#include "desktop/Dialogs.h"
#include "desktop/Fault.h"
#include "desktop/Shell.h"
#include "desktop/TextTokens.h"
#include "link/ActivityEvents.h"
#include "link/MacroRecorder.h"
#include "link/RouteModule.h"

MacroButtons::MacroButtons(MacroBank &bank, MacroRecorder &recorder, RouteModule &routes, RouteTarget &target,
                           QObject *parent)
    : QObject(parent), m_bank(bank), m_recorder(recorder), m_routes(routes), m_target(target)
{
    UpdateMacroButtons();
}

void MacroButtons::UpdateMacroButtons()
{
    m_captions = m_bank.MacroNames;
    emit changed();
}

void MacroButtons::btnMacro_Click(int Index)
{
    desktop::runTrapped(QStringLiteral("btnMacro_Click"), [&] {
        if (Index < 0 || Index >= MacroBank::SlotCount)
            throw desktop::Fault(desktop::FaultText::SubscriptOutOfRange);
        if (m_savePending || m_recorder.MacroRecording)
            saveMacro(Index);
        else if (desktop::shell().CtrlKeyDown())
            renameMacro(Index);
        else
            recall(Index);
    });
}

void MacroButtons::recall(int index)
{
    const RouteSourceScope source(
        m_routes.currentSource(),
        {ActivityEvents::macroSource(QStringLiteral("panel"), index, m_bank.MacroNames[std::size_t(index)]), {}});
    m_routes.RecallMacro(index, m_target);
}

QString MacroButtons::askName(int index, const QString &prompt, const QString &title)
{
    // Stored as the set-up file reads it back; all blanks is no name.
    const QString answer = desktop::storedName(desktop::dialogs().inputBox(prompt, title, caption(index)));
    if (answer.isEmpty()) {
        desktop::dialogs().beep();
        return {};
    }
    const auto usedElsewhere = [&] {
        for (int other = 0; other < MacroBank::SlotCount; ++other) {
            if (other != index && m_bank.MacroNames[std::size_t(other)] == answer)
                return true;
        }
        return false;
    };
    QString refusal;
    if (answer == MacroBank::UnassignedName)
        refusal = QStringLiteral("Please pick a more descriptive name");
    else if (answer.contains(QLatin1Char(';')))
        refusal = QStringLiteral("No semicolons (;) allowed in the macro name");
    else if (usedElsewhere())
        refusal = QStringLiteral("This name is already in use.");
    else
        return answer;
    desktop::showMessage(limits::ProgramName, refusal);
    return {};
}

void MacroButtons::saveMacro(int index)
{
    const QString name =
        askName(index, QStringLiteral("Enter the name for this new macro"), QStringLiteral("Save Macro"));
    if (name.isEmpty())
        return;
    m_recorder.SaveMacro(m_bank, index);
    m_bank.MacroNames[std::size_t(index)] = name;
    m_captions[std::size_t(index)] = name;
    backToIdle();
}

void MacroButtons::renameMacro(int index)
{
    const QString name =
        askName(index, QStringLiteral("Enter the name for this macro"), QStringLiteral("Rename Macro"));
    if (name.isEmpty())
        return;
    m_bank.MacroNames[std::size_t(index)] = name;
    m_captions[std::size_t(index)] = name;
    emit changed();
}

void MacroButtons::btnRecord_Click()
{
    desktop::runTrapped(QStringLiteral("btnRecord_Click"), [&] {
        if (m_savePending)
            cancelPendingSave();
        else if (m_recorder.MacroRecording)
            stopRecording();
        else
            startRecording();
    });
}

void MacroButtons::cancelPendingSave()
{
    emit recordTimerStopRequested();
    const desktop::Answer answer = desktop::dialogs().messageBox(
        QStringLiteral("Overwrite Macro"), QStringLiteral("The last macro has not been saved yet. Cancel Save?"),
        desktop::Icon::None, desktop::Buttons::YesNo);
    if (answer == desktop::Answer::Yes)
        backToIdle();
}

void MacroButtons::stopRecording()
{
    emit recordTimerStopRequested();
    m_recorder.MacroRecording = false;
    m_savePending = true;
    desktop::showMessage(limits::ProgramName, QStringLiteral("Next: click a macro button to save these routes"));
    m_recordLabelText = QStringLiteral("Pending Save");
    m_recordLabelVisible = true;
    m_recordCaption = QStringLiteral("Cancel Save");
    emit changed();
}

void MacroButtons::startRecording()
{
    m_recordLabelText = QStringLiteral("Recording");
    m_recordLabelVisible = true;
    m_recordCaption = QStringLiteral("Save Macro");
    emit recordTimerStartRequested();
    m_recorder.MacroRecording = true;
    m_recorder.NewRecording();
    emit changed();
}

// After a save or a cancelled save: the recorded routes wait to be replaced
// by the next recording.
void MacroButtons::backToIdle()
{
    m_recordLabelVisible = false;
    m_savePending = false;
    m_recorder.MacroRecording = false;
    m_recordCaption = QStringLiteral("Record");
    emit changed();
}
