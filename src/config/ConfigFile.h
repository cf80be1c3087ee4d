#pragma once

#include "config/Configuration.h"
#include "config/LoadReport.h"
#include "model/MacroBank.h"

#include <QString>

class QIODevice;

// Loading and saving the whole set-up (routers, port, timeout, macro bank) as
// a ".rcf" configuration file. Both trap their own failures: the operator
// gets the box "Function ConfigLoad" / "Function ConfigSave" reading
// "Error: <description>".

// "default.rcf" in the per-user application folder. Throws desktop::Fault
// when that folder cannot be created.
[[nodiscard]] QString DefaultConfigPath();

// Loads the file; an empty name first asks with the open dialog and returns
// the chosen name. A cancelled dialog, a file that does not start with the
// header and any failure change nothing in memory. A load that reaches the
// end of the file replaces the routers and the timeout, the port when the
// file sets one and the macro bank when the file has a macro section, sets
// ConfigFilePath and ConfigLoaded, then shows the rejected lines with the
// text display. `macrosOnly` is carried for the "Load Macros" command and not
// acted on: both commands load the whole file. Returns what the file held
// that the load did not take; an empty report when the load did not reach
// the end. Messages written as lines (no boxes) name the file and the line
// an editor shows.
LoadReport ConfigLoad(Configuration &config, MacroBank &macros, QString &fileName, bool macrosOnly);

// ConfigLoad's work on a device the caller opened, `fileName` becoming
// ConfigFilePath. For loading from memory.
LoadReport configLoadFrom(QIODevice &file, const QString &fileName, Configuration &config, MacroBank &macros);

// Saves the set-up; an empty name first asks with the save dialog,
// proposing ConfigFilePath. ".rcf" is appended when the name does not end
// in it (in any letter case), and the argument returns the name written. The
// file is replaced only once it was written whole; on failure the previous
// file and ConfigFilePath stay as they were. True when the file was written.
bool ConfigSave(Configuration &config, const MacroBank &macros, QString &fileName);
