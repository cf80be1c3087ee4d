#include "panel/SnapshotRecall.h"

SnapshotRecall::SnapshotRecall(QString name, RecallPlan plan, Take take, Locked locked)
    : m_name(std::move(name)), m_plan(std::move(plan)), m_take(std::move(take)), m_locked(std::move(locked))
{}

bool SnapshotRecall::step()
{
    if (finished())
        return false;
    const RecallPlan::Route route = m_plan.routes.at(m_next++);
    if (m_locked(route.output)) {
        if (!m_lockedOutputs.contains(route.output))
            m_lockedOutputs.append(route.output);
    } else if (m_take(route)) {
        ++m_taken;
    } else {
        ++m_failed;
    }
    return true;
}

QString SnapshotRecall::progress() const
{
    return QStringLiteral("Recalling \"%1\": %2 of %3 routes").arg(m_name).arg(m_next).arg(m_plan.routes.size());
}

QString SnapshotRecall::result() const
{
    return QStringLiteral("Recalled \"%1\": %2 routes taken, %3 outputs locked, %4 failed")
        .arg(m_name)
        .arg(m_taken)
        .arg(m_lockedOutputs.size())
        .arg(m_failed);
}
