#pragma once

#include "door/MatrixSnapshot.h"
#include "door/ShowDoor.h"

#include <QString>
#include <QStringList>

// What the control port may ask of the running panel: the operations a click
// performs, nothing of the widgets. Each answers with whether it succeeded
// and, when not, the messages the operator was shown. The panel's side:
// PanelDoor (paneldoor/).
class ControlDoor
{
public:
    struct Outcome
    {
        bool ok = false;
        QStringList failures;
    };

    virtual ~ControlDoor() = default;

    // Takes the crosspoint as a cell click does: route state, markers on
    // screen, a recording in progress.
    virtual Outcome route(int frameAddress, int phyOut, int phyIn, int level) = 0;
    // Replays the macro in slot (0 to 11) as a click on its button does; the
    // failures of its routes in order, then the records skipped for want of a router.
    virtual Outcome recallMacro(int slot) = 0;
    // The route state of output phyOut (router inputs), without asking the router.
    virtual Outcome sources(int frameAddress, int phyOut, OutputSources &result) = 0;
    // Every router in its one-line text form, by frame address.
    [[nodiscard]] virtual QStringList names() const = 0;
    // Snapshots and name lists; none, with why in refusal, while they may not be used.
    virtual ShowDoor *shows(QString &refusal) = 0;
};
