#include "link/ConsoleStatusSink.h"

#include <cstdio>

void ConsoleStatusSink::SetErrMsg(const QString &msg)
{
    std::fprintf(stderr, "%s\n", qUtf8Printable(msg));
    std::fflush(stderr);
}
