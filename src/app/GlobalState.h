#pragma once

#include "config/Configuration.h"
#include "link/MacroRecorder.h"
#include "model/MacroBank.h"
#include "model/MatrixTables.h"

class SerialLink;

// The program's global configuration state, in one place: the set-up, the
// matrix owner tables, the macro bank and the macro recording, under the
// names the rest of the program uses (Globals().Routers, Globals().MatOutRouter, ...).
struct GlobalState : Configuration, MatrixTables, MacroBank, MacroRecorder
{
    // The main window's serial port, set when the window loads.
    SerialLink *CommRef = nullptr;
};

[[nodiscard]] GlobalState &Globals();
// Back to the start-up state: no routers, no port, timeout 3, empty tables
// and macro bank. For start-up and for tests.
void ResetGlobals();
