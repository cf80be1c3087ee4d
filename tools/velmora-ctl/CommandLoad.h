#pragma once

#include "CommandSetup.h"

#include <QString>

// Loads FILE into setup the way `velmora-ctl check` does: from the start-up
// state (no routers, no port, timeout 3, macro bank reset), with
// every box written to standard error as "<title>: <text>" and the rejected
// lines written there as the text display would show them. True when the load
// completed (also with rejected lines).
[[nodiscard]] bool loadForCommand(const QString &fileName, CommandSetup &setup);
