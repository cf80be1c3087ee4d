#pragma once

#include "model/RouterSlots.h"

#include <QString>

// The set-up a configuration file holds, apart from the macro bank.
struct Configuration
{
    static constexpr float DefaultRouterTimeout = 3.0f;

    RouterSlots Routers;
    // "COM1" to "COM4"; empty until a configuration sets it.
    QString CommPortName;
    // Seconds to wait for a router's reply.
    float RouterTimeout = DefaultRouterTimeout;
    // Every route is refused while no usable configuration is in place.
    bool ConfigLoaded = false;
    // The configuration file last loaded or saved.
    QString ConfigFilePath;
};
