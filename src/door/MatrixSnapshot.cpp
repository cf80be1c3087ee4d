#include "door/MatrixSnapshot.h"

bool MatrixSnapshot::served(bool input, int port) const
{
    const QStringList &names = input ? inputNames : outputNames;
    return port >= 0 && port < names.size() && !names[port].isNull();
}

OutputSources MatrixSnapshot::sourcesOf(int output) const
{
    return output >= 0 && output < sources.size() ? sources[output] : OutputSources{};
}

QByteArray MatrixSnapshot::lockView(const QString &client) const
{
    QByteArray letters(lockOwners.size(), 'U');
    for (qsizetype output = 0; output < lockOwners.size(); ++output) {
        if (!lockOwners[output].isEmpty())
            letters[output] = lockOwners[output] == client ? 'O' : 'L';
    }
    return letters;
}
