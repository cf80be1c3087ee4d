#pragma once

#include <QString>

namespace desktop {

// How a line on standard error starts: bare for the command-line tools, with
// the local time for the panel run as a service, whose journal keeps them.
enum class LineStamp { None, Time };

// One line on standard error, flushed at once so a journal shows it when it
// happens: "TEXT", or "2026-12-07T08:15:02 TEXT" with LineStamp::Time.
void writeConsoleLine(const QString &text, LineStamp stamp = LineStamp::None);

// What a program prints as its result (its help, its version, a benchmark's
// figures) on standard output, as it is, flushed at once.
void writeConsoleOutput(const QString &text);

} // namespace desktop
