#include "model/MatrixView.h"

void MatrixView::resolve(const std::array<int, MatrixTables::TableSize> &owners, int matrixNumber,
                         int (clsRouter::*toPhysical)(int) const, int &retPhy, clsRouter *&retobjRouter) const
{
    const int frameAddress =
        matrixNumber >= 0 && matrixNumber < MatrixTables::TableSize ? owners[std::size_t(matrixNumber)] : -1;
    clsRouter *router = frameAddress < 0 ? nullptr : Routers[std::size_t(frameAddress)].get();
    if (!router) {
        retPhy = -1;
        return;
    }
    retobjRouter = router;
    retPhy = (router->*toPhysical)(matrixNumber);
}

void MatrixView::cvMatOutToPhy(int matOut, int &retPhyOut, clsRouter *&retobjRouter) const
{
    resolve(tables.MatOutRouter, OutOffset + matOut, &clsRouter::phyOut, retPhyOut, retobjRouter);
}

void MatrixView::cvPhyOutToMat(int phyOut, int &retMatOut, const clsRouter &objRouter) const
{
    retMatOut = objRouter.MapOutput(phyOut) - OutOffset;
}

void MatrixView::cvMatInToPhy1(int matIn, int &retPhyIn, clsRouter *&retobjRouter) const
{
    resolve(tables.MatInRouter, InOffset + matIn, &clsRouter::phyIn, retPhyIn, retobjRouter);
}

void MatrixView::cvMatInToPhy2(int matIn, int &retPhyIn, const clsRouter *objRouter) const
{
    retPhyIn = objRouter ? objRouter->phyIn(InOffset + matIn) : -1;
}

void MatrixView::cvPhyInToMat(int phyIn, int &retMatIn, const clsRouter &objRouter) const
{
    retMatIn = objRouter.MapInput(phyIn) - InOffset;
}
