#include "panel/OutputSelection.h"

OutputSelection::OutputSelection(Display displayOutSel) : m_display(std::move(displayOutSel))
{
    m_OutSel.fill(-1);
}

int OutputSelection::OutSelID(int Index) const
{
    for (int pos = 0; pos < m_count; ++pos) {
        if (m_OutSel[std::size_t(pos)] == Index)
            return pos;
    }
    return -1;
}

QList<int> OutputSelection::selected() const
{
    return QList<int>(m_OutSel.begin(), m_OutSel.begin() + m_count);
}

void OutputSelection::outputClick(int c, bool ctrl, bool shift)
{
    if (c < 0 || c >= Columns)
        return;
    const int pos = OutSelID(c);
    if (ctrl) {
        if (pos >= 0)
            removeAt(pos);
        else
            append(c);
    } else if (shift) {
        extendRange(c);
    } else {
        clear();
        if (pos < 0)
            append(c);
    }
}

void OutputSelection::extendRange(int c)
{
    if (m_count == 0) {
        append(c);
        return;
    }
    const int anchor = m_OutSel[std::size_t(m_count - 1)];
    if (c == anchor)
        return;
    const bool select = OutSelID(c) < 0;
    const int step = c > anchor ? 1 : -1;
    for (int cur = anchor;; cur += step) {
        const int pos = OutSelID(cur);
        if (select && pos < 0)
            append(cur);
        else if (!select && pos >= 0)
            removeAt(pos);
        if (cur == c)
            break;
    }
}

void OutputSelection::deselect(int c)
{
    const int pos = OutSelID(c);
    if (pos >= 0)
        removeAt(pos);
}

void OutputSelection::clear()
{
    const QList<int> shown = selected();
    m_OutSel.fill(-1);
    m_count = 0;
    for (const int c : shown)
        m_display(c, false);
}

void OutputSelection::append(int c)
{
    m_OutSel[std::size_t(m_count++)] = c;
    m_display(c, true);
}

void OutputSelection::removeAt(int pos)
{
    const int c = m_OutSel[std::size_t(pos)];
    std::move(m_OutSel.begin() + pos + 1, m_OutSel.begin() + m_count, m_OutSel.begin() + pos);
    m_OutSel[std::size_t(--m_count)] = -1;
    m_display(c, false);
}
