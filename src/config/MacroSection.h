#pragma once

#include "model/MacroBank.h"

#include <QString>

class LineReader;

// The macro bank inside a configuration file, from "Begin Macros" to
// "End Macros".

// Resets the bank, then reads macro lines up to and including the line
// "End Macros", or to the end of the file. Refused macro lines and routes
// are appended to `errorList` (one "Invalid ...--Line n" and CR LF each),
// numbered by `lineCounter`, which goes on counting the file's lines. A route
// number outside 0 to 255 throws the "Overflow" fault.
void readMacroSection(LineReader &lines, MacroBank &macros, QString &errorList, int &lineCounter);

// Appends the whole section, begin and end lines included: one line for
// every slot that holds a route list, in slot order.
void writeMacroSection(QString &text, const MacroBank &macros);
