#include "panel/MatrixTakes.h"

#include "desktop/Dialogs.h"
#include "link/RouteModule.h"
#include "model/MatrixView.h"
#include "panel/MatrixDisplay.h"
#include "panel/OutputSelection.h"

namespace {

TakeOutcome closing()
{
    return {false, std::nullopt, QStringLiteral("The panel is closing")};
}

} // namespace

MatrixTakes::MatrixTakes(RouteModule &routes, const MatrixView &view, const MatrixTables &tables,
                         MatrixDisplay &display, OutputSelection &selection)
    : m_routes(routes), m_view(view), m_tables(tables), m_display(display), m_selection(selection)
{}

TakeOutcome MatrixTakes::TakeRoute(clsRouter *Router, int phyOut, int phyIn, int matOut, int Level, int askedMatIn)
{
    if (m_stopped)
        return closing();
    const TakeOutcome outcome = m_routes.TakeRoute(Router, phyOut, phyIn, matOut, Level, askedMatIn);
    // The reply wait runs other handlers: the window may have closed meanwhile.
    if (outcome.redrawColumn && !m_stopped)
        m_display.redrawColumn(*outcome.redrawColumn);
    return outcome;
}

void MatrixTakes::Route(clsRouter &Router, int phyOut, int phyIn, int Level)
{
    (void)routeJudged(Router, phyOut, phyIn, Level);
}

TakeOutcome MatrixTakes::routeJudged(clsRouter &router, int phyOut, int phyIn, int level)
{
    if (m_stopped)
        return closing();
    const TakeOutcome outcome = m_routes.Route(m_view, router, phyOut, phyIn, level);
    if (outcome.redrawColumn && !m_stopped)
        m_display.redrawColumn(*outcome.redrawColumn);
    return outcome;
}

TakeOutcome MatrixTakes::takeMatrix(int matOut, int matIn, int level)
{
    return take(matOut - m_view.OutOffset, matIn - m_view.InOffset, level);
}

TakeOutcome MatrixTakes::take(int c, int r, int level)
{
    int phyOut = -1;
    clsRouter *router = nullptr;
    m_view.cvMatOutToPhy(c, phyOut, router);
    if (phyOut < 0)
        router = nullptr;
    int phyIn = -1;
    m_view.cvMatInToPhy2(r, phyIn, router);
    return TakeRoute(router, phyOut, phyIn, c, level, r + m_view.InOffset);
}

void MatrixTakes::cellClick(int index)
{
    take(index % OutputSelection::Columns, index / OutputSelection::Columns, CurrentLevel);
}

void MatrixTakes::inputClick(int r, bool ctrl, bool shift)
{
    if (ctrl) {
        if (!shift)
            m_selection.clear();
        // Fixed at the start: a configuration changed during a reply wait
        // does not stretch the loop.
        const int lastOutput = m_tables.MatrixOutputs;
        // The column of matrix output m, off screen when negative or past 15;
        // the offset is read afresh since a scroll may run during a wait.
        for (int m = 0; m <= lastOutput && !m_stopped; ++m)
            take(m - m_view.OutOffset, r, CurrentLevel);
        if (!m_stopped)
            m_display.UpdateDisplayMatrix();
        return;
    }
    const QList<int> columns = m_selection.selected();
    if (columns.isEmpty()) {
        desktop::showMessage(QStringLiteral("Try Again"), QStringLiteral("Please click on an output first"),
                             desktop::Icon::Information);
        return;
    }
    for (const int c : columns) {
        if (m_stopped)
            return;
        take(c, r, CurrentLevel);
        if (!shift)
            m_selection.deselect(c);
    }
}
