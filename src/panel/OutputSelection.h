#pragma once

#include "base/PanelLimits.h"

#include <QList>
#include <array>
#include <functional>

// The matrix area's output selection: visible columns 0 to 15 in the order
// they were selected, the last one being the anchor of a Shift+click. Plain
// click selects one column, Ctrl+click toggles one, Shift+click extends or
// shrinks the range from the anchor. The panel reports each change through
// the DisplayOutSel callback (sunken buttons, wide column line).
class OutputSelection
{
public:
    static constexpr int Columns = limits::VisibleColumns;
    using Display = std::function<void(int Index, bool isSel)>;

    explicit OutputSelection(Display displayOutSel);

    // Position of column Index in the selection, -1 when not selected.
    [[nodiscard]] int OutSelID(int Index) const;
    [[nodiscard]] int OutSelCount() const { return m_count; }
    // The selected columns, in order of selection.
    [[nodiscard]] QList<int> selected() const;

    void outputClick(int c, bool ctrl, bool shift);
    // Column c leaves the selection (it took its route); nothing when it is
    // not selected.
    void deselect(int c);
    // Every selected column is shown deselected and the selection emptied.
    void clear();

private:
    void append(int c);
    void removeAt(int pos);
    void extendRange(int c);

    Display m_display;
    // One spare entry past the 16 columns, as the selection always had.
    std::array<int, Columns + 1> m_OutSel;
    int m_count = 0;
};
