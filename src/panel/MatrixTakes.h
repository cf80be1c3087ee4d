#pragma once

#include "base/PanelLimits.h"
#include "link/RouteTarget.h"
#include "link/TakeOutcome.h"

class MatrixDisplay;
class OutputSelection;
class RouteModule;
struct MatrixTables;
struct MatrixView;

// The take loops of the matrix area, without the widgets: a cell click, an
// input click to the selected outputs, an input Ctrl+click to every matrix
// output, and the macro replay's Route. Each crosspoint goes through the
// route module and its column is redrawn when it is on screen. Once stopped
// (the window closing), no take starts any more and running loops end.
class MatrixTakes final : public RouteTarget
{
public:
    static constexpr int AllLevels = int(limits::Level::Both);

    MatrixTakes(RouteModule &routes, const MatrixView &view, const MatrixTables &tables, MatrixDisplay &display,
                OutputSelection &selection);

    // 1 video, 2 audio, 3 both: the level of every matrix click.
    int CurrentLevel = AllLevels;

    TakeOutcome TakeRoute(clsRouter *Router, int phyOut, int phyIn, int matOut, int Level, int askedMatIn = -1);
    void Route(clsRouter &Router, int phyOut, int phyIn, int Level) override;
    // Route, telling how it came out (for callers that answer someone).
    [[nodiscard]] TakeOutcome routeJudged(clsRouter &router, int phyOut, int phyIn, int level);

    void cellClick(int index);
    // Routes row r to the selected outputs (Shift keeps them selected) or,
    // with Ctrl, to every matrix output. With nothing selected and no Ctrl,
    // the operator is told to pick an output first.
    void inputClick(int r, bool ctrl, bool shift);

    // Matrix output matOut from matrix input matIn (0-based, on screen or
    // not), as a click on its cell would take it.
    TakeOutcome takeMatrix(int matOut, int matIn, int level);

    void stop() { m_stopped = true; }

private:
    // Column c (any position, also off screen) and row r resolved to one
    // router's ports, then taken.
    TakeOutcome take(int c, int r, int level);

    RouteModule &m_routes;
    const MatrixView &m_view;
    const MatrixTables &m_tables;
    MatrixDisplay &m_display;
    OutputSelection &m_selection;
    bool m_stopped = false;
};
