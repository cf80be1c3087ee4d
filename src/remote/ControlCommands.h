#pragma once

#include <QString>

class PanelOperations;

// The control port's line protocol: one command line in, its answer out.
//   route FA OUT IN [LEVEL]  -> ok | error <message>
//   macro SLOT               -> ok | error <messages, "; " between>
//   state FA OUT             -> video N audio N
//   names                    -> one line per router, then end
// Anything else: "error unknown command" or "error usage: ...".
namespace ControlCommands {

// The answer to one command line (without its line end): one or more lines,
// each ending with "\n". Messages never break a line.
[[nodiscard]] QString answer(const QString &line, PanelOperations &panel);

} // namespace ControlCommands
