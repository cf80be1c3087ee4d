#pragma once

#include <QString>
#include <QStringList>

// What the control port may ask of the running panel: the operations a click
// performs, nothing of the widgets. Each answers with whether it succeeded
// and, when not, the messages the operator was shown.
class PanelOperations
{
public:
    struct Outcome
    {
        bool ok = false;
        QStringList failures;
    };

    // The last acknowledged sources of one output; -1 for none.
    struct OutputSources
    {
        int video = -1;
        int audio = -1;
    };

    virtual ~PanelOperations() = default;

    // Takes the crosspoint as a cell click does: route state, markers on
    // screen, a recording in progress.
    virtual Outcome route(int FrameAddress, int phyOut, int phyIn, int Level) = 0;
    // Replays macro slot Slot (0 to 11) as a click on its button does; the
    // failures of its routes in order, then the records skipped for want of a router.
    virtual Outcome recallMacro(int Slot) = 0;
    // The route state of output phyOut, without asking the router.
    virtual Outcome sources(int FrameAddress, int phyOut, OutputSources &result) = 0;
    // Every router in its one-line text form, by frame address.
    [[nodiscard]] virtual QStringList names() const = 0;
};
