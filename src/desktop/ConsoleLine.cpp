#include "desktop/ConsoleLine.h"

#include <QDateTime>
#include <QLoggingCategory>
#include <cstdio>

namespace desktop {

void writeConsoleLine(const QString &text, LineStamp stamp)
{
    const QString line =
        stamp == LineStamp::Time ? QDateTime::currentDateTime().toString(Qt::ISODate) + QLatin1Char(' ') + text : text;
    std::fprintf(stderr, "%s\n", qUtf8Printable(line));
    std::fflush(stderr);
}

void writeConsoleLine(const QLoggingCategory &category, const QString &text, LineStamp stamp)
{
    if (category.isInfoEnabled())
        writeConsoleLine(text, stamp);
}

void writeConsoleOutput(const QString &text)
{
    std::fputs(qUtf8Printable(text), stdout);
    std::fflush(stdout);
}

} // namespace desktop
