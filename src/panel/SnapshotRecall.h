#pragma once

#include "panel/RecallPlan.h"

#include <QString>
#include <functional>

// One snapshot recall on its way: the plan's routes taken one at a time,
// each as a click takes it, whoever drives the steps (a client's turns, the
// window's event loop). An output another owner holds when its turn comes is
// skipped and counted, never routed. Stopped, the routes not yet sent are
// dropped; those taken stay.
class SnapshotRecall
{
public:
    // Takes one route: acknowledged or not.
    using Take = std::function<bool(const RecallPlan::Route &route)>;
    // Whether another owner holds the output now.
    using Locked = std::function<bool(int output)>;

    SnapshotRecall(QString name, RecallPlan plan, Take take, Locked locked);

    // Takes the next route; false when none was left.
    bool step();
    void stop() { m_next = m_plan.routes.size(); }
    [[nodiscard]] bool finished() const { return m_next >= m_plan.routes.size(); }
    [[nodiscard]] bool failed() const { return m_failed > 0; }
    [[nodiscard]] const QString &name() const { return m_name; }

    // "Recalling "NAME": 37 of 120 routes".
    [[nodiscard]] QString progress() const;
    // "Recalled "NAME": 118 routes taken, 2 outputs locked, 0 failed".
    [[nodiscard]] QString result() const;

private:
    QString m_name;
    RecallPlan m_plan;
    Take m_take;
    Locked m_locked;
    qsizetype m_next = 0;
    int m_taken = 0;
    int m_failed = 0;
    QList<int> m_lockedOutputs;
};
