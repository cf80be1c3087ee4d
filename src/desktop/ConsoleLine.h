#pragma once

#include <QString>

class QLoggingCategory;

namespace desktop {

// How a line on standard error starts: bare for the command-line tools, with
// the local time for the panel run as a service, whose journal keeps them.
enum class LineStamp { None, Time };

// One line on standard error, flushed at once so a journal shows it when it
// happens: "TEXT", or "2026-12-07T08:15:02 TEXT" with LineStamp::Time.
void writeConsoleLine(const QString &text, LineStamp stamp = LineStamp::None);
// The same for a diagnostic line of one layer (category "velmora.link"...),
// left out where the logging rules (QT_LOGGING_RULES) turn off the
// category's info messages. The line's text stays as it is.
void writeConsoleLine(const QLoggingCategory &category, const QString &text, LineStamp stamp = LineStamp::None);

// What a program prints as its result (its help, its version, a benchmark's
// figures) on standard output, as it is, flushed at once.
void writeConsoleOutput(const QString &text);

} // namespace desktop
