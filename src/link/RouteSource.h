#pragma once

#include <QString>
#include <utility>

// Who asked for a route: the activity log names it, and a lock lets a route
// through only when its owner asked. Panel routes own no lock.
struct RouteSource
{
    // "panel", "panel macro 02 \"Show Open\"", "control macro 02 \"Show Open\"", "control", "videohub 192.0.2.7:51234".
    QString name = QStringLiteral("panel");
    // The lock owner a route from here may pass; empty for the panel's own routes.
    QString lockOwner;
};

// Sets the source of the routes started while it lives and puts back the
// one before. Reply waits nest strictly, so scopes end in reverse order even
// when a click is handled inside another route's wait.
class RouteSourceScope
{
public:
    RouteSourceScope(RouteSource &current, RouteSource source)
        : m_current(current), m_saved(std::exchange(current, std::move(source)))
    {}
    ~RouteSourceScope() { m_current = std::move(m_saved); }
    RouteSourceScope(const RouteSourceScope &) = delete;
    RouteSourceScope &operator=(const RouteSourceScope &) = delete;

private:
    RouteSource &m_current;
    RouteSource m_saved;
};
