#pragma once

#include "config/Configuration.h"
#include "model/MacroBank.h"
#include "model/MatrixTables.h"

// The program's global configuration state, in one place: the set-up, the
// matrix owner tables and the macro bank, under the names the rest of the
// program uses (Globals().Routers, Globals().MatOutRouter, ...).
struct GlobalState : Configuration, MatrixTables, MacroBank
{
};

[[nodiscard]] GlobalState &Globals();
// Back to the start-up state: no routers, no port, timeout 3, empty tables
// and macro bank. For start-up and for tests.
void ResetGlobals();
