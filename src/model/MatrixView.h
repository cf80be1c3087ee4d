#pragma once

#include "model/MatrixTables.h"

// The 16 x 16 window onto the matrix: column c shows matrix output
// OutOffset + c, row r matrix input InOffset + r. The conversions between
// grid positions and a router's physical ports.
struct MatrixView
{
    const MatrixTables &tables;
    const RouterSlots &Routers;
    int InOffset = 0;
    int OutOffset = 0;

    // The router owning the column's matrix output and its physical output;
    // retPhyOut -1 (router untouched) when nobody owns it.
    void cvMatOutToPhy(int matOut, int &retPhyOut, clsRouter *&retobjRouter) const;
    // Column position of a router's physical output (outside 0..15 when scrolled away).
    void cvPhyOutToMat(int phyOut, int &retMatOut, const clsRouter &objRouter) const;
    // A router having the row's matrix input (the lowest frame address) and
    // its physical input; retPhyIn -1 (router untouched) when none.
    void cvMatInToPhy1(int matIn, int &retPhyIn, clsRouter *&retobjRouter) const;
    // The physical input of the GIVEN router at the row; -1 when it has none
    // there or no router is given.
    void cvMatInToPhy2(int matIn, int &retPhyIn, const clsRouter *objRouter) const;
    // Row position of a router's physical input.
    void cvPhyInToMat(int phyIn, int &retMatIn, const clsRouter &objRouter) const;

private:
    // The owner recorded for a matrix number and its physical port there;
    // retPhy -1 and the router untouched when nobody owns it.
    void resolve(const std::array<int, MatrixTables::TableSize> &owners, int matrixNumber,
                 int (clsRouter::*toPhysical)(int) const, int &retPhy, clsRouter *&retobjRouter) const;
};
