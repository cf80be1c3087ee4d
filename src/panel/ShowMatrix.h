#pragma once

#include "door/MatrixSnapshot.h"

#include <QList>

// The matrix as show files read it and recall it: the panel's matrix (ports
// from 0, names, sources, locks) and, per output, whether its router
// switches video and audio apart.
struct ShowMatrix
{
    MatrixSnapshot state;
    QList<bool> splits;

    [[nodiscard]] bool outputExists(int output) const { return state.served(false, output); }
    [[nodiscard]] bool inputExists(int input) const { return state.served(true, input); }
    [[nodiscard]] bool switchesApart(int output) const { return splits.value(output); }
    [[nodiscard]] bool locked(int output) const { return !state.lockOwners.value(output).isEmpty(); }
};
