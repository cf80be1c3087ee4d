#pragma once

#include "door/MatrixSnapshot.h"

#include <QByteArray>
#include <QList>
#include <optional>

// A route file as a Videohub controller saves it: before the first ":",
// comma-separated "DEST SOURCE" pairs, ports counted from 0; after it, a
// "Routing history:" line per output, empty where the controller never
// heard the output's route.
namespace VideohubRouteFile {

struct Pair
{
    int output = 0;
    int input = 0;
};

// The pairs, each checked against the matrix, less those of outputs the
// controller never heard a route for; none with error
// "pair 5: output 140 is not a matrix output" when one does not read.
[[nodiscard]] std::optional<QList<Pair>> read(const QByteArray &bytes, const MatrixSnapshot &matrix, QString &error);

} // namespace VideohubRouteFile
