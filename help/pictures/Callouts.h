#pragma once

#include "ControlContents.h"

#include <QImage>
#include <QList>
#include <QStringList>

class QWidget;

// A numbered mark over one region of a window. Each group is a list of
// control name prefixes ("txtIn_" for every input name field); the visible
// controls of a group are framed together and the group gets the number.
// A region of one line that neighbours crowd is left unframed: the number
// beside it says enough.
struct Callout
{
    int number = 0;
    QList<QStringList> groups;
    bool framed = true;
};

// Where the callouts of a window go: for each group a frame just outside
// its controls (unframed: just outside what they show) and the number's
// disc at the first place on or beside the frame, from its top left corner
// on, that covers no control and no other disc. A group without such a
// place gets no disc and is named in faults.
struct CalloutPlan
{
    struct Mark
    {
        int number = 0;
        QRect frame;
        QRect disc;
        bool framed = true;
    };
    QList<Mark> marks;
    QList<ControlContent> contents;
    QStringList faults;
};

[[nodiscard]] CalloutPlan planCallouts(const QWidget &area, const QList<Callout> &callouts);

// The picture of area with the plan drawn over it. A frame is left out
// where it would cross what another control shows, so no text is struck
// through; the frame's own controls are inside it.
[[nodiscard]] QImage drawCallouts(QWidget &area, const CalloutPlan &plan);

// The rectangle, in area's coordinates, that the visible controls of area
// whose names start with one of prefixes cover.
[[nodiscard]] QRect regionOf(const QWidget &area, const QStringList &prefixes);
