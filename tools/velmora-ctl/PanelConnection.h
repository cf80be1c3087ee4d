#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// velmora-ctl's side of the running panel's control port.

// How long velmora-ctl waits for the panel to accept and answer, by default:
// a full macro (one route for each of the 127 matrix outputs) with no router
// answering at the longest router timeout (60 s) takes 127 minutes; one more
// minute covers commands queued ahead of it.
inline constexpr int DefaultTimeoutSeconds = 128 * 60;

// status asks a panel that answers at once unless it hangs: a short wait.
inline constexpr int StatusTimeoutSeconds = 10;

// The options before a subcommand's arguments.
struct PanelOptions
{
    // Take the line even when a panel runs.
    bool direct = false;
    int timeoutSeconds = DefaultTimeoutSeconds;
};

// Takes leading "--direct" (when allowed) and "--timeout SECONDS" (a whole
// number from 1, else timeoutSeconds) off arguments; none when one of them is malformed.
[[nodiscard]] std::optional<PanelOptions> takePanelOptions(QStringList &arguments, bool directAllowed,
                                                           int timeoutSeconds = DefaultTimeoutSeconds);

// How many lines answer a command: one, a list closed by "end" (names,
// status), or one after "progress ..." lines (a snapshot recall), which go
// to standard error as they come.
enum class AnswerForm { OneLine, List, AfterProgress };

// Sends one command line to the running panel and waits for its one-line
// answer ("ok", "error ...", "video N audio N"), or to a list its lines
// without the closing "end" ("\n" between) unless it is refused with an
// "error ..." line. None when no panel runs for this user; an error answer when the panel went away before answering,
// did not accept and answer within the time-out, or holds the control port while its socket does not answer: the line
// is never opened beside it.
[[nodiscard]] std::optional<QString> askPanel(const QString &command, const PanelOptions &options,
                                              AnswerForm form = AnswerForm::OneLine);

// The exit status of an "ok" or "error <message>" answer; the message goes
// to standard error.
[[nodiscard]] int panelVerdict(const QString &answer);

// For the commands that print what the panel answers: the answer on standard
// output and ExitOk; an error answer as panelVerdict gives it; without a
// panel, noPanel on standard error and ExitFailed.
[[nodiscard]] int printPanelAnswer(const std::optional<QString> &answer, const QString &noPanel);

// For the commands answered "ok TEXT": TEXT on standard output and ExitOk
// (on standard error when toError); otherwise as printPanelAnswer.
[[nodiscard]] int printOkText(const std::optional<QString> &answer, const QString &noPanel, bool toError = false);

// A word of a command line, in double quotes when it holds a blank; none
// when it holds a double quote, which no word can carry.
[[nodiscard]] std::optional<QString> commandWord(const QString &word);
