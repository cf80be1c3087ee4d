#include "link/ConsoleStatusSink.h"

#include "desktop/ConsoleLine.h"

void ConsoleStatusSink::SetErrMsg(const QString &msg)
{
    desktop::writeConsoleLine(msg);
}
