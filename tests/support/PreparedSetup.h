#pragma once

#include "config/Configuration.h"
#include "model/MacroBank.h"

// A set-up that differs from the start-up state everywhere a load can touch,
// so a check sees what a load changed and what it left alone.
inline void prepareSetup(Configuration &config, MacroBank &macros)
{
    config.CommPortName = QStringLiteral("COM2");
    config.RouterTimeout = 7.5f;
    config.ConfigFilePath = QStringLiteral("before.rcf");
    config.Routers[9] = std::make_unique<clsRouter>();
    config.Routers[9]->setStringVal(QStringLiteral("1; 9; 1; 0; 4; 2; -1;A; B; C; "));
    macros.MacroNames[3] = QStringLiteral("Kept");
    macros.Macros[3] = QList<RouteRecord>{RouteRecord::pack(9, 0, 1, 3)};
}
