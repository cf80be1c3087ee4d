#pragma once

#include "base/PanelLimits.h"
#include "model/clsRouter.h"

#include <array>
#include <memory>

// One slot per frame address 0 to 15; a router exists when its slot is filled.
inline constexpr int RouterSlotCount = limits::FrameAddresses;
using RouterSlots = std::array<std::unique_ptr<clsRouter>, RouterSlotCount>;
