#pragma once

#include <QString>

class OutputLocks;
struct MatrixView;

// The lock marks over the grid's output numbers: which output a visible
// column stands for, and what its mark tells the operator. Scrolling moves
// the marks with the columns, since they are read through the view.
class OutputLockMarks
{
public:
    OutputLockMarks(const MatrixView &view, const OutputLocks &locks) : m_view(view), m_locks(locks) {}

    // The matrix output (0-based) visible column c shows.
    [[nodiscard]] int output(int c) const;
    // The tooltip of column c's mark, "Locked by 192.0.2.7"; empty when its
    // output is free, and then no mark is shown.
    [[nodiscard]] QString tip(int c) const;

private:
    const MatrixView &m_view;
    const OutputLocks &m_locks;
};
