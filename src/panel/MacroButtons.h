#pragma once

#include "model/MacroBank.h"

#include <QObject>
#include <QString>
#include <array>

class RouteModule;
class RouteTarget;
struct MacroRecorder;

// What the twelve macro buttons and the record button do, without the
// widgets: the window forwards the two clicks and shows the captions and the
// recording label from here. Idle: a macro button recalls its macro (renames
// it with Ctrl held). Recording, then pending save after the record button:
// a macro button saves the recorded routes under a name asked for. Boxes and
// the Ctrl key state come from the desktop layer.
class MacroButtons final : public QObject
{
    Q_OBJECT

public:
    MacroButtons(MacroBank &bank, MacroRecorder &recorder, RouteModule &routes, RouteTarget &target,
                 QObject *parent = nullptr);

    // Click handlers; a fault inside shows "Function btnMacro_Click" or
    // "Function btnRecord_Click" and ends the click.
    void btnMacro_Click(int Index);
    void btnRecord_Click();

    // The macro button captions become the macro names (after a
    // configuration or macro load).
    void UpdateMacroButtons();

    [[nodiscard]] QString caption(int index) const { return m_captions.at(std::size_t(index)); }
    [[nodiscard]] QString recordCaption() const { return m_recordCaption; }
    // lblRecord: its text and whether it is shown. While recording the
    // status line's timer blinks it.
    [[nodiscard]] QString recordLabelText() const { return m_recordLabelText; }
    [[nodiscard]] bool recordLabelVisible() const { return m_recordLabelVisible; }
    [[nodiscard]] bool MacroSavePending() const { return m_savePending; }

signals:
    // A caption or the recording label changed.
    void changed();
    // Recording started: the status line's timer ticks every 500 ms to blink the label.
    void recordTimerStartRequested();
    // The status line's StopRecordTimer.
    void recordTimerStopRequested();

private:
    void recall(int index);
    void saveMacro(int index);
    void renameMacro(int index);
    // The name typed for button index, or "" when refused (the operator has been told).
    [[nodiscard]] QString askName(int index, const QString &prompt, const QString &title);
    void cancelPendingSave();
    void stopRecording();
    void startRecording();
    void backToIdle();

    MacroBank &m_bank;
    MacroRecorder &m_recorder;
    RouteModule &m_routes;
    RouteTarget &m_target;

    std::array<QString, MacroBank::SlotCount> m_captions;
    QString m_recordCaption = QStringLiteral("Record Macro");
    QString m_recordLabelText = QStringLiteral("Recording");
    bool m_recordLabelVisible = false;
    bool m_savePending = false;
};
