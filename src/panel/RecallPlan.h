#pragma once

#include "panel/ShowMatrix.h"
#include "panel/SnapshotFile.h"

#include <QList>
#include <QStringList>

// The routes a snapshot recall sends, in output order: per output one route
// for both levels when its router switches them together or both levels
// come from the same input, else one per level; a level the panel already
// knows to come from its input is left out unless every route is asked for.
struct RecallPlan
{
    struct Route
    {
        int output = 0;
        int input = 0;
        int level = 0; // 1 video, 2 audio, 3 both
        bool operator==(const Route &) const = default;
    };

    QList<Route> routes;
    // The outputs routes would go to that another owner holds, in order.
    QList<int> lockedOutputs;

    [[nodiscard]] static RecallPlan make(const QList<SnapshotRow> &rows, const ShowMatrix &matrix, bool all);

    // One line per route, "output 2 "Preview" audio 5 "Mic 5" -> 7 "Mic 7"",
    // then one per locked output.
    [[nodiscard]] QStringList describe(const ShowMatrix &matrix) const;
};
