#pragma once

#include "base/PanelLimits.h"
#include "model/RouterSlots.h"

#include <array>

// Which router owns each matrix port, rebuilt from the routers by sizeMatrix.
struct MatrixTables
{
    static constexpr int TableSize = limits::TableSize;

    // Frame address owning each matrix output / having each matrix input
    // (the lowest one when several share an input); -1 for none.
    std::array<int, TableSize> MatOutRouter;
    std::array<int, TableSize> MatInRouter;
    // Highest matrix output / input number in use; -1 when none.
    int MatrixOutputs = -1;
    int MatrixInputs = -1;
    // At least one router switches audio and video separately.
    bool AnyRouterSplit = false;

    MatrixTables();
};

// Rebuilds the tables from the routers. Ports mapped beyond the tables (a
// count raised after its offset was set) are left out rather than failing.
void sizeMatrix(MatrixTables &tables, const RouterSlots &routers);
