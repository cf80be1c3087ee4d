#pragma once

#include <QImage>
#include <QList>
#include <QStringList>

class QWidget;

// A numbered mark over one region of a window. Each group is a list of
// control name prefixes ("txtIn_" for every input name field); the visible
// controls of a group are framed together and the group gets the number, at
// the frame's top left corner unless another one is given (where the top
// left one would hide text).
struct Callout
{
    int number = 0;
    QList<QStringList> groups;
    Qt::Corner corner = Qt::TopLeftCorner;
};

// A picture of area with every callout drawn over it: a frame around each
// group and the number in a disc at one of the frame's corners.
[[nodiscard]] QImage drawCallouts(QWidget &area, const QList<Callout> &callouts);

// The rectangle, in area's coordinates, that the visible controls of area
// whose names start with one of prefixes cover.
[[nodiscard]] QRect regionOf(const QWidget &area, const QStringList &prefixes);
