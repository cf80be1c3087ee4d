#pragma once

#include <QByteArray>
#include <QString>

// Exact bytes on standard output (no line-end translation on any platform).
void writeStandardOutput(const QByteArray &bytes);
// One line on standard error.
void writeErrorLine(const QString &line);
