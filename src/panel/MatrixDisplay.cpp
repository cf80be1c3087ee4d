#include "panel/MatrixDisplay.h"

#include "desktop/Fault.h"
#include "model/clsRouter.h"

MatrixDisplay::MatrixDisplay(const MatrixView &view, ShowCell showCell) : m_view(view), m_showCell(std::move(showCell))
{
    m_videoLitRow.fill(-1);
    m_audioLitRow.fill(-1);
}

void MatrixDisplay::setCell(int r, int c, Mark mark)
{
    const int cell = r * Columns + c;
    m_marks[std::size_t(cell)] = mark;
    m_showCell(cell, mark);
}

void MatrixDisplay::unlight(std::array<int, Columns> &litRow, int c)
{
    int &row = litRow[std::size_t(c)];
    if (row >= 0)
        setCell(row, c, Mark::Empty);
    row = -1;
}

void MatrixDisplay::UpdateMatrixDisplayCol(clsRouter *Router, int c, int phyOut)
{
    desktop::runTrapped(QStringLiteral("UpdateMatrixDisplayCol"), [&] {
        if (c < 0 || c >= Columns)
            throw desktop::Fault(desktop::FaultText::SubscriptOutOfRange);
        unlight(m_videoLitRow, c);
        unlight(m_audioLitRow, c);
        if (Router)
            light(*Router, c, phyOut);
    });
}

void MatrixDisplay::light(clsRouter &router, int c, int phyOut)
{
    const clsRouteState &state = router.RouteState(phyOut);
    const auto visibleRow = [&](int phyIn) {
        const int row = router.MapInput(phyIn) - m_view.InOffset;
        return phyIn >= 0 && row >= 0 && row < Rows ? row : -1;
    };
    if (const int row = visibleRow(state.Video()); row >= 0) {
        setCell(row, c, state.isSplit ? Mark::VideoOnly : Mark::AllLevels);
        m_videoLitRow[std::size_t(c)] = row;
    }
    if (!state.isSplit)
        return;
    if (const int row = visibleRow(state.Audio()); row >= 0) {
        setCell(row, c, Mark::AudioOnly);
        m_audioLitRow[std::size_t(c)] = row;
    }
}

void MatrixDisplay::redrawColumn(int c)
{
    int phyOut = -1;
    clsRouter *router = nullptr;
    m_view.cvMatOutToPhy(c, phyOut, router);
    UpdateMatrixDisplayCol(phyOut < 0 ? nullptr : router, c, phyOut);
}

void MatrixDisplay::UpdateDisplayMatrix()
{
    desktop::runTrapped(QStringLiteral("UpdateDisplayMatrix"), [this] {
        for (int c = 0; c < Columns; ++c)
            redrawColumn(c);
    });
}
