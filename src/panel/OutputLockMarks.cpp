#include "panel/OutputLockMarks.h"

#include "model/MatrixView.h"
#include "panel/OutputLocks.h"

int OutputLockMarks::output(int c) const
{
    return m_view.OutOffset + c;
}

QString OutputLockMarks::tip(int c) const
{
    const QString owner = m_locks.owner(output(c));
    return owner.isEmpty() ? QString() : QStringLiteral("Locked by ") + owner;
}
