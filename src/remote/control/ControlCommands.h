#pragma once

#include <QString>
#include <optional>

class ControlDoor;
class StatusReport;

// The control port's line protocol: one command line in, its answer out.
//   route FA OUT IN [LEVEL]  -> ok | error <message>
//   macro SLOT               -> ok | error <messages, "; " between>
//   state FA OUT             -> video N audio N
//   names                    -> one line per router, then end
//   status                   -> the status report's lines, then end
//   names export [FILE] | names import FILE
//   snapshot save|diff|list|delete|stop|import-videohub ... -> ok ... | error ... | lines, then end
//   snapshot recall NAME [all] -> "progress ..." lines, then ok ... | error ...
// A snapshot name or a file in double quotes may hold blanks.
// Anything else: "error unknown command" or "error usage: ...", also for a
// line with a control character other than tab.
namespace ControlCommands {

// The answer to one command line (without its line end): one or more lines,
// each ending with "\n". Messages never break a line.
[[nodiscard]] QString answer(const QString &line, ControlDoor &panel, const StatusReport &report);

// Whether the command may go to a router and so waits for the line; the
// others are answered from the panel's memory.
[[nodiscard]] bool usesLine(const QString &line);

// A well-formed "snapshot recall NAME [all]": the port takes its routes one a turn.
struct Recall
{
    QString name;
    bool all = false;
};
[[nodiscard]] std::optional<Recall> recallOf(const QString &line);

} // namespace ControlCommands
