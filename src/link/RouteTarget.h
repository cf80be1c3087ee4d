#pragma once

class clsRouter;

// What a macro replay routes through: the panel's Route, which takes
// the crosspoint and redraws its column when it is on screen; the
// command-line tool's own target elsewhere.
class RouteTarget
{
public:
    virtual ~RouteTarget() = default;

    virtual void Route(clsRouter &Router, int phyOut, int phyIn, int Level) = 0;
};
