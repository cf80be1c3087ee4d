#pragma once

#include <QList>
#include <QRect>

class QWidget;

// What a callout drawn over a window must leave in view: one entry per
// visible control (containers that only hold others aside), with the
// rectangle it shows something in, in area's coordinates: the ink of a
// label's text, the whole of any other control.
struct ControlContent
{
    const QWidget *control = nullptr;
    QRect rect;
};

[[nodiscard]] QList<ControlContent> controlContents(const QWidget &area);
