#pragma once

#include "door/MatrixSnapshot.h"

#include <QByteArray>
#include <QList>
#include <optional>

// A route file as a Videohub controller saves it: before the first ":",
// comma-separated "DEST SOURCE" pairs, ports counted from 0.
namespace VideohubRouteFile {

struct Pair
{
    int output = 0;
    int input = 0;
};

// The pairs, each checked against the matrix; none with error
// "pair 5: output 140 is not a matrix output" when one does not read.
[[nodiscard]] std::optional<QList<Pair>> read(const QByteArray &bytes, const MatrixSnapshot &matrix, QString &error);

} // namespace VideohubRouteFile
