#pragma once

#include "model/MacroBank.h"

#include <QString>

class LineReader;
class LoadReport;
struct FileLine;

// The macro bank inside a configuration file, from "Begin Macros" to
// "End Macros".

// Resets the bank, then reads macro lines up to and including the line
// "End Macros", or to the end of the file. Refused macro lines and routes,
// lines that are no macro line and a section never closed (named by its
// begin line) go to `report`; blank lines are passed over. A route number
// outside 0 to 255 throws the "Overflow" fault.
void readMacroSection(LineReader &lines, MacroBank &macros, LoadReport &report, const FileLine &beginLine);

// The key of a line that was not taken (the whole line when it has no
// colon) names a section marker all the same, written in a form the reader
// does not take: " Begin Macros", "end macros".
[[nodiscard]] bool namesSectionMarker(const QString &key);

// Appends the whole section, begin and end lines included: one line for
// every slot that holds a route list, in slot order.
void writeMacroSection(QString &text, const MacroBank &macros);
