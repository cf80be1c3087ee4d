#pragma once

#include "app/StartOptions.h"

// The panel without a window or display connection, for a service manager:
// default.rcf from the data folder, no dialog ever (boxes become lines on
// standard error), the control port served, every status message one line on
// standard error with the time. TERM, INT and HUP save as File > Exit does
// and end with status 0. Without a usable set-up it ends at once with status
// 1 and says where to put one, leaving the file as it was. Returns the exit status.
int runService(int argc, char *argv[], const StartOptions &options);
