#pragma once

#include <QByteArray>
#include <QString>

namespace desktop {

// Writes the bytes beside the target and puts them in its place only once
// all were written, so a failure never destroys the previous file. Where the
// folder allows no new file, the target is written in place instead (then a
// failure can leave it incomplete). Throws desktop::Fault ("Cannot write
// <path>") on any failure.
void writeWholeFile(const QString &path, const QByteArray &bytes);

} // namespace desktop
