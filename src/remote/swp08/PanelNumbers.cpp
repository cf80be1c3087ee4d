#include "remote/swp08/PanelNumbers.h"

#include "base/PanelLimits.h"

namespace swp08::PanelNumbers {

int panelLevel(int level)
{
    return int(level == 0 ? limits::Level::Video : limits::Level::Audio);
}

bool hasLevel(int matrix, int level)
{
    return matrix == 0 && level >= 0 && level < Levels;
}

bool exists(const MatrixSnapshot &matrix, const Address &address)
{
    return hasLevel(address.matrix, address.level) && address.destination < matrix.outputCount();
}

bool exists(const MatrixSnapshot &matrix, const Route &route)
{
    return exists(matrix, route.address) && route.source < matrix.inputCount();
}

std::optional<int> source(const MatrixSnapshot &matrix, const Address &address)
{
    const OutputSources known = matrix.sourcesOf(address.destination);
    const int input = address.level == 0 ? known.video : known.audio;
    return input < 0 ? std::nullopt : std::optional<int>(input);
}

QList<std::optional<int>> sources(const MatrixSnapshot &matrix, int level)
{
    QList<std::optional<int>> all(matrix.outputCount());
    if (level >= Levels)
        return all;
    for (int destination = 0; destination < matrix.outputCount(); ++destination)
        all[destination] = source(matrix, {0, level, destination});
    return all;
}

QStringList names(const MatrixSnapshot &matrix, NameKind kind)
{
    QStringList shown = kind == NameKind::Source ? matrix.inputNames : matrix.outputNames;
    for (QString &name : shown) {
        if (name.isNull())
            name = QStringLiteral("-");
    }
    return shown;
}

} // namespace swp08::PanelNumbers
