#pragma once

#include "panel/RecallPlan.h"

#include <QList>
#include <QStringList>

class ShowFiles;

// What the recall dialog shows, without the widgets: the snapshots with
// their time and outputs, and for the one chosen how many routes a recall
// would send and which outputs are locked against it.
class RecallChoices
{
public:
    explicit RecallChoices(const ShowFiles &shows);

    // One line per snapshot, in the order of names.
    [[nodiscard]] const QStringList &rows() const { return m_rows; }
    void choose(int row);
    [[nodiscard]] QString chosenName() const { return m_names.value(m_chosen); }
    // The chosen snapshot reads and fits the matrix.
    [[nodiscard]] bool canRecall() const { return m_fits; }
    // "12 routes would change", or why the snapshot cannot be recalled.
    [[nodiscard]] const QString &changes() const { return m_changes; }
    // "Locked: 3 "Mon A", 17 "Mon B"", or that none is.
    [[nodiscard]] const QString &locked() const { return m_locked; }

private:
    const ShowFiles &m_shows;
    QStringList m_names;
    QStringList m_rows;
    int m_chosen = -1;
    bool m_fits = false;
    QString m_changes;
    QString m_locked;
};
