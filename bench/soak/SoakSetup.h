#pragma once

#include "SoakPieces.h"

// The standing set-up of a soak: one router of 127 x 127 ports switching
// audio and video apart, named, a 1 s reply timeout, and SoakMacros macros
// of five routes each drawn from the seed. Written as default.rcf into the
// data folder; false when it cannot be.
[[nodiscard]] bool writeSoakSetup(const QString &path, SoakRandom &random);
