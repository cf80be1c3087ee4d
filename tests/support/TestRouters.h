#pragma once

#include "config/Configuration.h"

#include <memory>

// Puts a router of type 0 at a frame address: port counts as highest index,
// its ports from the given matrix input and output on. The offsets go in
// before the counts, as an operator can set them, so ports may run past the
// tables.
inline clsRouter &addRouter(RouterSlots &routers, int frameAddress, int inputCount = 15, int outputCount = 15,
                            int mapIn = 0, int mapOut = 0)
{
    auto router = std::make_unique<clsRouter>();
    router->setRouterType(0);
    router->setFrameAddress(frameAddress);
    router->setMapIn(mapIn);
    router->setMapOut(mapOut);
    router->setInputCount(inputCount);
    router->setOutputCount(outputCount);
    routers[std::size_t(frameAddress)] = std::move(router);
    return *routers[std::size_t(frameAddress)];
}

inline clsRouter &addRouter(Configuration &config, int frameAddress, int inputCount = 15, int outputCount = 15)
{
    return addRouter(config.Routers, frameAddress, inputCount, outputCount);
}
