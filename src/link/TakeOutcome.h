#pragma once

#include <QString>
#include <optional>

// What taking one crosspoint came to.
struct TakeOutcome
{
    // The router acknowledged the route.
    bool acknowledged = false;
    // The view column (0 to 15) to redraw from the route state; none when the
    // output is scrolled out of view or the route failed at the router.
    std::optional<int> redrawColumn;
    // Why it was not acknowledged: the message the status line was given.
    QString failure;
};
