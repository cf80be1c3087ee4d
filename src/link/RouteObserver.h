#pragma once

#include "link/RouteSource.h"

#include <QString>

// One route attempt as route execution saw it. Ports are physical, -1 where
// the crosspoint had none.
struct RouteAttempt
{
    RouteSource source;
    int FrameAddress = -1;
    int phyOut = -1;
    int phyIn = -1;
    int Level = 0;
    bool acknowledged = false;
    // The matrix input asked for, where known: the log names it when no
    // router input stands for it (an unassigned crosspoint).
    int askedMatIn = -1;
    // The status message when not acknowledged.
    QString failure;
};

// What route execution asks and tells the panel around every route: whether
// a lock refuses it, and how it ended (after the route state was updated).
class RouteObserver
{
public:
    virtual ~RouteObserver() = default;

    // The status message refusing the route, or an empty string to let it go.
    [[nodiscard]] virtual QString refusal(int frameAddress, int phyOut, const RouteSource &source) = 0;
    virtual void routeAttempted(const RouteAttempt &attempt) = 0;
};
