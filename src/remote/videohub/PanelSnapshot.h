#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace videohub {

// What clients are shown of the panel, gathered by whoever owns it; ports
// numbered from 0 (matrix numbers minus one).
struct PanelSnapshot
{
    QString friendlyName; // the set-up's file name
    QString uniqueId;     // 12 hex digits, see PanelUniqueId
    // One name per matrix port; a null string where no router serves the port.
    QStringList inputLabels;
    QStringList outputLabels;
    // Output -> input, only for outputs whose video source is known.
    QMap<int, int> routes;
};

} // namespace videohub
