#pragma once

#include "config/Configuration.h"

#include <memory>

// Puts a router with the given port counts (highest index) at a frame address.
inline clsRouter &addRouter(Configuration &config, int frameAddress, int inputCount = 15, int outputCount = 15)
{
    auto router = std::make_unique<clsRouter>();
    router->setRouterType(0);
    router->setFrameAddress(frameAddress);
    router->setInputCount(inputCount);
    router->setOutputCount(outputCount);
    config.Routers[std::size_t(frameAddress)] = std::move(router);
    return *config.Routers[std::size_t(frameAddress)];
}
