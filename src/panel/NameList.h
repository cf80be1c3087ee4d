#pragma once

#include "door/MatrixSnapshot.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>

// A name list: "kind,number,name" for every port of the matrix, inputs then
// outputs, matrix numbers from 1.
namespace NameList {

// One port's name as a list gives it; ports from 0.
struct PortName
{
    bool input = true;
    int port = 0;
    QString name;
};

// At most this many bad lines are told when a list is refused.
inline constexpr int ToldFaults = 20;

[[nodiscard]] QList<QStringList> records(const MatrixSnapshot &matrix);
[[nodiscard]] QByteArray write(const MatrixSnapshot &matrix);

// Every row checked: the names, or none with one "line N: ..." per bad line
// (the first ToldFaults of them) in faults.
[[nodiscard]] std::optional<QList<PortName>> read(const QByteArray &bytes, const MatrixSnapshot &matrix,
                                                  QStringList &faults);

} // namespace NameList
