#pragma once

#include "link/RouteTarget.h"
#include "model/RouteRecord.h"
#include "model/clsRouter.h"

#include <QList>

// Test double for the main window's Route: notes each call as a record.
class RecordingRouteTarget final : public RouteTarget
{
public:
    void Route(clsRouter &Router, int phyOut, int phyIn, int Level) override
    {
        routed.append(RouteRecord::pack(Router.FrameAddress(), phyOut, phyIn, Level));
    }

    QList<RouteRecord> routed;
};
