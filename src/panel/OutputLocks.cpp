#include "panel/OutputLocks.h"

OutputLocks::OutputLocks(QObject *parent) : QObject(parent)
{}

void OutputLocks::setOutputCount(int outputs)
{
    m_outputs = qMax(0, outputs);
    QList<int> dropped;
    for (auto it = m_owners.begin(); it != m_owners.end();) {
        if (exists(it.key())) {
            ++it;
            continue;
        }
        dropped.append(it.key());
        it = m_owners.erase(it);
    }
    if (!dropped.isEmpty())
        emit locksChanged(dropped);
}

OutputLocks::Outcome OutputLocks::lock(int output, const QString &owner)
{
    if (!exists(output) || owner.isEmpty())
        return Outcome::Refused;
    const QString holder = m_owners.value(output);
    if (holder == owner)
        return Outcome::Unchanged;
    if (!holder.isEmpty())
        return Outcome::Refused;
    m_owners.insert(output, owner);
    changed(output);
    return Outcome::Changed;
}

OutputLocks::Outcome OutputLocks::unlock(int output, const QString &owner)
{
    if (!exists(output))
        return Outcome::Refused;
    const QString holder = m_owners.value(output);
    if (holder.isEmpty())
        return Outcome::Unchanged;
    if (holder != owner)
        return Outcome::Refused;
    return release(output);
}

OutputLocks::Outcome OutputLocks::forceUnlock(int output)
{
    if (!exists(output))
        return Outcome::Refused;
    if (!m_owners.contains(output))
        return Outcome::Unchanged;
    return release(output);
}

OutputLocks::Outcome OutputLocks::release(int output)
{
    m_owners.remove(output);
    changed(output);
    return Outcome::Changed;
}

void OutputLocks::changed(int output)
{
    if (!m_batch)
        emit locksChanged({output});
    else if (!m_batch->contains(output))
        m_batch->append(output);
}

QList<int> OutputLocks::apply(const QList<LockLine> &lines, const QString &owner, const LineDone &lineDone)
{
    QList<int> changedOutputs;
    QList<int> refused;
    m_batch = &changedOutputs;
    for (const LockLine &line : lines) {
        const QString holder = m_owners.value(line.output);
        Outcome outcome = Outcome::Refused;
        switch (line.action) {
        case LockAction::Lock:
            outcome = lock(line.output, owner);
            break;
        case LockAction::Unlock:
            outcome = unlock(line.output, owner);
            break;
        case LockAction::ForceUnlock:
            outcome = forceUnlock(line.output);
            break;
        }
        if (lineDone)
            lineDone(line, outcome, holder);
        if (outcome == Outcome::Refused && !refused.contains(line.output))
            refused.append(line.output);
    }
    m_batch = nullptr;
    if (!changedOutputs.isEmpty())
        emit locksChanged(changedOutputs);
    return refused;
}

QStringList OutputLocks::owners() const
{
    QStringList owners(m_outputs);
    for (auto it = m_owners.cbegin(); it != m_owners.cend(); ++it)
        owners[it.key()] = it.value();
    return owners;
}
