#pragma once

#include "CommandSetup.h"
#include "link/ConsoleStatusSink.h"
#include "link/RouteModule.h"
#include "link/RouteTarget.h"
#include "link/SerialLink.h"

#include <functional>

// The panel's route path for the route and macro commands, over the set-up
// a command loaded: its COM port and timeout, status messages on
// standard error. Counts what the routers acknowledged.
class CommandRouter final : public RouteTarget
{
public:
    explicit CommandRouter(CommandSetup &setup);
    ~CommandRouter() override;
    CommandRouter(const CommandRouter &) = delete;
    CommandRouter &operator=(const CommandRouter &) = delete;

    // Runs routing (faults trapped under operation's name) when the set-up
    // names a COM port; ExitOk when the routers acknowledged `expected`
    // routes, ExitFailed otherwise. Without a port the panel would send
    // nothing and say nothing; here that is said.
    [[nodiscard]] static int run(CommandSetup &setup, const QString &operation, qsizetype expected,
                                 const std::function<void(CommandRouter &)> &routing);

    [[nodiscard]] RouteModule &routes() { return m_routes; }

    // The window's Route, without a matrix view to redraw.
    void Route(clsRouter &Router, int phyOut, int phyIn, int Level) override;

private:
    ConsoleStatusSink m_status;
    SerialLink m_link;
    RouteModule m_routes;
    int m_acknowledged = 0;
};
