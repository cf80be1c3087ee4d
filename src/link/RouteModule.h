#pragma once

#include "link/RouteSource.h"
#include "link/TakeOutcome.h"

#include <QStringList>
#include <functional>

class clsRouter;
class clsRouteState;
class RouteObserver;
class RouteTarget;
class SerialLink;
class StatusSink;
struct Configuration;
struct MacroBank;
struct MacroRecorder;
struct MatrixView;

// Route execution: one crosspoint command per route, judged by the router's
// reply, the route state updated once acknowledged, and macro replay. Works
// on the state it is given: the configuration, the macro bank, the recorder,
// the port (CommRef) and the status line. Every route is judged by the
// observer first (a lock may refuse it) and reported to it once it ended,
// with the source that was current when it started.
class RouteModule
{
public:
    RouteModule(const Configuration &config, const MacroBank &bank, MacroRecorder &recorder, SerialLink &commRef,
                StatusSink &status);
    RouteModule(const RouteModule &) = delete;
    RouteModule &operator=(const RouteModule &) = delete;

    void setObserver(RouteObserver *observer) { m_observer = observer; }
    // The source of the routes starting now; set it with a RouteSourceScope.
    [[nodiscard]] RouteSource &currentSource() { return m_source; }

    // Sends the crosspoint command and judges the reply. True when the route
    // FAILED for any reason; its message has been shown. Recorded first while
    // recording is on, whatever the outcome, unless no configuration is in place.
    [[nodiscard]] bool SendRoute(int FrameAddress, int phyOut, int phyIn, int Level);
    // SendRoute, then the output's route state for the levels of Level once
    // acknowledged. True when the route FAILED.
    [[nodiscard]] bool RouteCrosspoint(clsRouter &Router, int phyOut, int phyIn, int Level);

    // The window's take of a crosspoint resolved from view column matOut: a
    // crosspoint without a router port behind it (no router, a negative port
    // or one beyond the router's counts) is refused with a beep and
    // "Unassigned crosspoint" and still redraws its column. Other handlers
    // run during the reply wait and may replace the routers, so the caller
    // redraws the column by resolving it afresh. askedMatIn: the matrix input
    // the take was for, where known, for the log of a refusal.
    [[nodiscard]] TakeOutcome TakeRoute(clsRouter *Router, int phyOut, int phyIn, int matOut, int Level,
                                        int askedMatIn = -1);
    // The window's Route: the output's view column from the view, then TakeRoute.
    [[nodiscard]] TakeOutcome Route(const MatrixView &view, clsRouter &Router, int phyOut, int phyIn, int Level);

    // Replays slot Index (0 to 11) through target, record by record, each
    // waiting for its own reply; failures are reported and the replay goes
    // on. A record whose frame address has no router is skipped with
    // "No router at frame address <n>"; the messages of the skipped records
    // are returned. An empty slot does nothing.
    QStringList RecallMacro(int Index, RouteTarget &target);

    // A route to a frame address with no router, told to the observer like
    // any other attempt that failed.
    void noRouterAttempt(int frameAddress, int phyOut, int phyIn, int level);
    // The router at frameAddress; nullptr, after "No router at frame address
    // <n>", when there is none (the set-up changed since a macro was saved).
    [[nodiscard]] clsRouter *routerAt(int frameAddress);
    [[nodiscard]] static QString noRouterMessage(int frameAddress);

private:
    // Hears once how a route ended (failed, and why): at once when refused
    // before the line, else the moment the line's exchange ends, so routes
    // are judged in the order they went on the line even when one started
    // during another's reply wait returns first.
    using Ended = std::function<void(bool failed, const QString &failure)>;
    // SendRoute and RouteCrosspoint, with the message of a failure in failure.
    [[nodiscard]] bool sendRoute(const RouteSource &source, int frameAddress, int phyOut, int phyIn, int level,
                                 QString &failure, const Ended &ended);
    [[nodiscard]] bool routeCrosspoint(clsRouter &router, int phyOut, int phyIn, int level, QString &failure);
    void report(const RouteSource &source, int frameAddress, int phyOut, int phyIn, int level, bool failed,
                const QString &failure, int askedMatIn = -1);

    static void applyAcknowledged(clsRouteState &state, int phyIn, int level);

    const Configuration &m_config;
    const MacroBank &m_bank;
    MacroRecorder &m_recorder;
    SerialLink &m_comm;
    StatusSink &m_status;
    RouteObserver *m_observer = nullptr;
    RouteSource m_source;
};
