#include "model/MatrixView.h"

clsRouter *MatrixView::ownerAt(const std::array<int, MatrixTables::TableSize> &owners, int matrixNumber) const
{
    if (matrixNumber < 0 || matrixNumber >= MatrixTables::TableSize)
        return nullptr;
    const int frameAddress = owners[std::size_t(matrixNumber)];
    return frameAddress < 0 ? nullptr : Routers[std::size_t(frameAddress)].get();
}

void MatrixView::cvMatOutToPhy(int matOut, int &retPhyOut, clsRouter *&retobjRouter) const
{
    const int m = OutOffset + matOut;
    clsRouter *router = ownerAt(tables.MatOutRouter, m);
    if (!router) {
        retPhyOut = -1;
        return;
    }
    retobjRouter = router;
    retPhyOut = router->phyOut(m);
}

void MatrixView::cvPhyOutToMat(int phyOut, int &retMatOut, const clsRouter &objRouter) const
{
    retMatOut = objRouter.MapOutput(phyOut) - OutOffset;
}

void MatrixView::cvMatInToPhy1(int matIn, int &retPhyIn, clsRouter *&retobjRouter) const
{
    const int m = InOffset + matIn;
    clsRouter *router = ownerAt(tables.MatInRouter, m);
    if (!router) {
        retPhyIn = -1;
        return;
    }
    retobjRouter = router;
    retPhyIn = router->phyIn(m);
}

void MatrixView::cvMatInToPhy2(int matIn, int &retPhyIn, const clsRouter *objRouter) const
{
    retPhyIn = objRouter ? objRouter->phyIn(InOffset + matIn) : -1;
}

void MatrixView::cvPhyInToMat(int phyIn, int &retMatIn, const clsRouter &objRouter) const
{
    retMatIn = objRouter.MapInput(phyIn) - InOffset;
}
