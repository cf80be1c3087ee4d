#include "ui/main/RecallChoices.h"

#include "panel/ShowFiles.h"

RecallChoices::RecallChoices(const ShowFiles &shows) : m_shows(shows)
{
    for (const ShowFiles::Entry &entry : shows.entries()) {
        m_names.append(entry.name);
        m_rows.append(QStringLiteral("%1   %2   %3")
                          .arg(entry.name, entry.time.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                               entry.outputs < 0 ? QStringLiteral("unreadable")
                                                 : QStringLiteral("%1 outputs").arg(entry.outputs)));
    }
}

void RecallChoices::choose(int row)
{
    m_chosen = row;
    m_locked.clear();
    RecallPlan plan;
    const ShowAnswer preview = m_shows.preview(chosenName(), plan);
    m_fits = preview.ok;
    m_changes = preview.text;
    if (!m_fits)
        return;
    QStringList outputs;
    const MatrixSnapshot matrix = m_shows.matrix().state;
    for (const int output : plan.lockedOutputs)
        outputs.append(QStringLiteral("%1 \"%2\"").arg(output + 1).arg(matrix.outputNames.value(output)));
    m_locked = outputs.isEmpty() ? QStringLiteral("No output it routes is locked.")
                                 : QStringLiteral("Locked, left as they are: ") + outputs.join(QStringLiteral(", "));
}
