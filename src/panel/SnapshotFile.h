#pragma once

#include "panel/ShowMatrix.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One output's row of a snapshot, matrix ports from 0; -1 for a level the
// row leaves alone.
struct SnapshotRow
{
    int line = 0;
    int output = -1;
    int video = -1;
    int audio = -1;
};

// The snapshot file: a header, then one row per output of the matrix with
// its names for people and its sources by number (matrix numbers from 1,
// empty where unknown).
namespace SnapshotFile {

[[nodiscard]] QByteArray write(const MatrixSnapshot &matrix);

// The rows, each checked against the matrix; none when the text does not
// read, with error "line 7: input 140 is not a matrix input".
[[nodiscard]] std::optional<QList<SnapshotRow>> read(const QByteArray &bytes, const ShowMatrix &matrix, QString &error);

// The rows a file holds (the header apart), none when it does not read.
[[nodiscard]] std::optional<int> rowCount(const QByteArray &bytes);

} // namespace SnapshotFile
