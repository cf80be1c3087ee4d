#pragma once

#include "config/Configuration.h"
#include "config/LoadReport.h"
#include "link/MacroRecorder.h"
#include "model/MacroBank.h"

// What one velmora-ctl command works on: the set-up loaded from the file
// it was given, its macro bank, what the load did not take from the file,
// and the recorder route execution expects (never switched on here).
struct CommandSetup
{
    Configuration config;
    MacroBank macros;
    LoadReport report;
    MacroRecorder recorder;
};
