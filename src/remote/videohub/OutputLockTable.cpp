#include "remote/videohub/OutputLockTable.h"

namespace videohub {

OutputLockTable::OutputLockTable(QObject *parent) : QObject(parent)
{}

void OutputLockTable::setOutputCount(int outputs)
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

OutputLockTable::Outcome OutputLockTable::lock(int output, const QString &owner)
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

OutputLockTable::Outcome OutputLockTable::unlock(int output, const QString &owner)
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

OutputLockTable::Outcome OutputLockTable::forceUnlock(int output)
{
    if (!exists(output))
        return Outcome::Refused;
    if (!m_owners.contains(output))
        return Outcome::Unchanged;
    return release(output);
}

OutputLockTable::Outcome OutputLockTable::release(int output)
{
    m_owners.remove(output);
    changed(output);
    return Outcome::Changed;
}

void OutputLockTable::changed(int output)
{
    if (!m_batch)
        emit locksChanged({output});
    else if (!m_batch->contains(output))
        m_batch->append(output);
}

QList<int> OutputLockTable::apply(const QList<LockLine> &lines, const QString &owner)
{
    QList<int> changedOutputs;
    QList<int> refused;
    m_batch = &changedOutputs;
    for (const LockLine &line : lines) {
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
        if (outcome == Outcome::Refused && !refused.contains(line.output))
            refused.append(line.output);
    }
    m_batch = nullptr;
    if (!changedOutputs.isEmpty())
        emit locksChanged(changedOutputs);
    return refused;
}

bool OutputLockTable::lockedAgainst(int output, const QString &client) const
{
    const QString holder = m_owners.value(output);
    return !holder.isEmpty() && holder != client;
}

QByteArray OutputLockTable::view(const QString &client) const
{
    QByteArray letters(m_outputs, 'U');
    for (auto it = m_owners.cbegin(); it != m_owners.cend(); ++it)
        letters[it.key()] = it.value() == client ? 'O' : 'L';
    return letters;
}

} // namespace videohub
