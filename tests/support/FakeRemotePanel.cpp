#include "support/FakeRemotePanel.h"

FakeRemotePanel::FakeRemotePanel(int inputs, int outputs)
{
    for (int input = 1; input <= inputs; ++input)
        state.inputNames.append(QStringLiteral("In %1").arg(input));
    for (int output = 1; output <= outputs; ++output)
        state.outputNames.append(QStringLiteral("Out %1").arg(output));
    state.sources.resize(outputs);
    state.lockOwners.resize(outputs);
    state.setupName = QStringLiteral("Studio A.rcf");
}

ControlDoor::Outcome FakeRemotePanel::takeRoute(int matOut, int matIn, int level, const RouteSource &origin)
{
    taken.append(QStringLiteral("%1 %2 %3 %4").arg(origin.name).arg(matOut).arg(matIn).arg(level));
    Outcome outcome{true, {}};
    const QString owner = state.lockOwners.value(matOut);
    if (!owner.isEmpty() && owner != origin.lockOwner)
        outcome = {false, {QStringLiteral("Output %1 is locked by %2").arg(matOut + 1).arg(owner)}};
    else if (refusing.contains(matOut))
        outcome = {false, {QStringLiteral("Router returned 21")}};
    else if (level & 1)
        state.sources[matOut].video = matIn;
    if (outcome.ok && level & 2)
        state.sources[matOut].audio = matIn;
    emit routed(matOut, level, outcome.ok);
    return outcome;
}

QList<int> FakeRemotePanel::applyLocks(const QList<LockLine> &lines, const RouteSource &origin)
{
    QList<int> refused;
    QList<int> changed;
    for (const LockLine &line : lines) {
        QString &owner = state.lockOwners[line.output];
        const bool another = !owner.isEmpty() && owner != origin.lockOwner;
        const QString after = line.action == LockAction::Lock ? origin.lockOwner : QString();
        if (another && line.action != LockAction::ForceUnlock)
            refused.append(line.output);
        else if (owner != after && !changed.contains(line.output))
            changed.append(line.output);
        if (!another || line.action == LockAction::ForceUnlock)
            owner = after;
    }
    if (!changed.isEmpty())
        emit locksChanged(changed);
    return refused;
}

QString FakeRemotePanel::renamePort(bool input, int matrixPort, const QString &name, const RouteSource &)
{
    QStringList &names = input ? state.inputNames : state.outputNames;
    if (!state.served(input, matrixPort))
        return QStringLiteral("-");
    if (names[matrixPort] != name) {
        names[matrixPort] = name;
        emit portNamesChanged(input, {matrixPort});
    }
    return name;
}
