#pragma once

#include "link/ConsoleStatusSink.h"
#include "link/RouteModule.h"
#include "link/RouteTarget.h"
#include "link/SerialLink.h"

// The panel's route path for the route and macro commands, over the set-up
// loaded into Globals(): its COM port and timeout, status messages on
// standard error. Counts what the routers acknowledged.
class CommandRouter final : public RouteTarget
{
public:
    CommandRouter();
    ~CommandRouter() override;
    CommandRouter(const CommandRouter &) = delete;
    CommandRouter &operator=(const CommandRouter &) = delete;

    // False, with a message, when the set-up names no COM port: the panel
    // would send nothing and say nothing.
    [[nodiscard]] bool hasPort();
    [[nodiscard]] RouteModule &routes() { return m_routes; }

    // The window's Route, without a matrix view to redraw.
    void Route(clsRouter &Router, int phyOut, int phyIn, int Level) override;
    [[nodiscard]] int acknowledged() const { return m_acknowledged; }

private:
    ConsoleStatusSink m_status;
    SerialLink m_link;
    RouteModule m_routes;
    int m_acknowledged = 0;
};
