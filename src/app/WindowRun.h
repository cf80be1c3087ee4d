#pragma once

#include "app/StartOptions.h"

// The panel with its window on the Qt desktop services: the start-up shows
// the configuration dialog, File > Exit (or TERM, INT, HUP) saves and ends.
// Returns the exit status.
int runWindow(int argc, char *argv[], const StartOptions &options);
