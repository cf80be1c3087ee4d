#include "model/MatrixTables.h"

#include <algorithm>

MatrixTables::MatrixTables()
{
    MatOutRouter.fill(-1);
    MatInRouter.fill(-1);
}

namespace {

// Claims every matrix port the router maps for itself. Routers are visited
// from the highest frame address down, so the lowest one keeps a shared port.
void claimPorts(std::array<int, MatrixTables::TableSize> &owners, int &highest, int count, int frameAddress,
                const clsRouter &router, int (clsRouter::*mapPort)(int) const)
{
    for (int p = 0; p <= count; ++p) {
        const int m = (router.*mapPort)(p);
        if (m < 0 || m >= MatrixTables::TableSize)
            continue;
        owners[std::size_t(m)] = frameAddress;
        highest = std::max(highest, m);
    }
}

} // namespace

void sizeMatrix(MatrixTables &tables, const RouterSlots &routers)
{
    tables = MatrixTables();
    for (int fa = RouterSlotCount - 1; fa >= 0; --fa) {
        const clsRouter *router = routers[std::size_t(fa)].get();
        if (!router)
            continue;
        claimPorts(tables.MatInRouter, tables.MatrixInputs, router->InputCount(), fa, *router, &clsRouter::MapInput);
        claimPorts(tables.MatOutRouter, tables.MatrixOutputs, router->OutputCount(), fa, *router,
                   &clsRouter::MapOutput);
        if (router->canSplit)
            tables.AnyRouterSplit = true;
    }
}
