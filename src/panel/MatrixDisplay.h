#pragma once

#include "base/PanelLimits.h"
#include "model/MatrixView.h"

#include <array>
#include <functional>

class clsRouter;

// What the 16 x 16 cells show: per visible column the row carrying the
// video source and the row carrying the audio source, from the route states
// the routers keep. A column redraw clears at most two cells and sets at
// most two; the panel reports each change through the showCell callback.
class MatrixDisplay
{
public:
    static constexpr int Rows = limits::VisibleRows;
    static constexpr int Columns = limits::VisibleColumns;
    static constexpr int Cells = Rows * Columns;

    // The pictures a cell can carry: grey, red, yellow and blue discs.
    enum class Mark { Empty, VideoOnly, AudioOnly, AllLevels };

    using ShowCell = std::function<void(int cell, Mark mark)>;

    MatrixDisplay(const MatrixView &view, ShowCell showCell);

    // Redraws column c from the route state of Router's output phyOut; with
    // no router the column is only cleared. The updates trap their faults
    // ("Function UpdateMatrixDisplayCol", "Function UpdateDisplayMatrix").
    void UpdateMatrixDisplayCol(clsRouter *Router, int c, int phyOut);
    // Column c resolved afresh through the view, then redrawn.
    void redrawColumn(int c);
    // All 16 columns.
    void UpdateDisplayMatrix();

    [[nodiscard]] Mark mark(int cell) const { return m_marks[std::size_t(cell)]; }

private:
    void setCell(int r, int c, Mark mark);
    void light(clsRouter &router, int c, int phyOut);
    void unlight(std::array<int, Columns> &litRow, int c);

    const MatrixView &m_view;
    ShowCell m_showCell;
    std::array<Mark, Cells> m_marks{};
    std::array<int, Columns> m_videoLitRow;
    std::array<int, Columns> m_audioLitRow;
};
