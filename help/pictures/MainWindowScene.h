#pragma once

#include "Callouts.h"
#include "panel/MainPanel.h"
#include "ui/main/frmMainMatrix.h"

// The main window as the help page shows it, on the set-up in the data
// folder's default.rcf: routes on the first router (one output with its
// audio from another input), two outputs selected in the grid, an input and
// an output lit on the button panel, one output locked by a Videohub client
// and the status line saying so. Shown (offscreen), menu bar included.
class MainWindowScene
{
public:
    MainWindowScene();

    // The regions the help page explains by number, in its order.
    [[nodiscard]] static const QList<Callout> &callouts();

    MainPanel panel;
    frmMainMatrix window;

private:
    // The port the start-up dialog's step takes aside.
    QString m_port;
};
